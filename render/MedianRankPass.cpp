#include "render/MedianRankPass.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Why this shape: a running histogram over the raw 16-bit values costs 2 s updates per pixel
// (62 at 31 x 31) and long walks over empty entries. Here a pixel costs four count look-ups,
// now and then a step of the median's bucket, two 512-bit exclusive ors and a bit search,
// whatever the size. The per-column bits and counts change by one rank per column and row.
//
// Along a row the window is stepped first (counts, the median's bucket and its bits for every
// output column); the bit searches follow in a second loop, where no pixel's search waits for
// another's.
//
// The pass body is built for the baseline instruction set and for AVX2 and AVX-512 (the
// bucket counts are 16-bit lanes); the processor's abilities pick one at run time.

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#define MEDIAN_INLINE inline __attribute__((always_inline))

namespace {

constexpr int kBucketBits = 9;
constexpr int kBucketRanks = 1 << kBucketBits;
constexpr int kBucketWords = kBucketRanks / 64;
// Bucket count entries are padded to whole vectors of the widest instruction set.
constexpr int kCountLanes = 32;
// Marks a bucket whose bits belong to no window of the current row.
constexpr int kNoColumn = -(1 << 20);

typedef std::uint64_t BucketVector __attribute__((vector_size(kBucketWords * sizeof(std::uint64_t))));

struct RankPass
{
    int rows;
    int c0;
    int c1;
    int r0;
    int r1;
    int size;
    int* out;
    // Region: the columns and rows the windows read.
    int width;
    int height;
    int entries; // bucket count entries per column, a multiple of kCountLanes
    const std::uint32_t* ranks;
    const int* sortedValues;
    std::uint64_t* columnBits;
    std::uint16_t* columnBelow;
    std::uint64_t* bucketBits;
    int* bucketColumn;
    // Per output column of the current row: the median's bucket, its window bits and how many
    // of them lie below the median.
    std::uint64_t* rowBits;
    int* rowBucket;
    int* rowSkip;
};

// Column `col`'s bits of bucket `bucket`: the column's window ranks in that bucket.
MEDIAN_INLINE std::uint64_t* columnBits(const RankPass& p, int bucket, int col)
{
    return p.columnBits + (static_cast<std::ptrdiff_t>(bucket) * p.width + col) * kBucketWords;
}

MEDIAN_INLINE void flipRank(const RankPass& p, int col, std::uint32_t rank)
{
    columnBits(p, static_cast<int>(rank >> kBucketBits), col)[(rank >> 6) % kBucketWords] ^= std::uint64_t(1)
                                                                                             << (rank & 63);
}

// Gives every column the window rows 0 ... size - 1 (`entering`) or takes those of the last
// output row away again, which leaves the column bits all clear for the next pass.
MEDIAN_INLINE void flipColumnWindows(const RankPass& p, int top)
{
    for (int col = 0; col < p.width; ++col) {
        const std::uint32_t* in = p.ranks + static_cast<std::ptrdiff_t>(col) * p.height + top;
        for (int i = 0; i < p.size; ++i)
            flipRank(p, col, in[i]);
    }
}

MEDIAN_INLINE void startColumns(const RankPass& p)
{
    flipColumnWindows(p, 0);
    for (int col = 0; col < p.width; ++col) {
        const std::uint32_t* in = p.ranks + static_cast<std::ptrdiff_t>(col) * p.height;
        std::uint16_t* below = p.columnBelow + static_cast<std::ptrdiff_t>(col) * p.entries;
        std::fill(below, below + p.entries, 0);
        for (int i = 0; i < p.size; ++i)
            ++below[(in[i] >> kBucketBits) + 1];
        for (int b = 1; b < p.entries; ++b)
            below[b] = static_cast<std::uint16_t>(below[b] + below[b - 1]);
    }
}

// Moves every column's window one row down: the rank of region row `top` leaves, that of
// `top + size` enters.
MEDIAN_INLINE void stepColumns(const RankPass& p, int top)
{
    for (int col = 0; col < p.width; ++col) {
        const std::uint32_t* in = p.ranks + static_cast<std::ptrdiff_t>(col) * p.height;
        const std::uint32_t leaving = in[top];
        const std::uint32_t entering = in[top + p.size];
        flipRank(p, col, leaving);
        flipRank(p, col, entering);
        const int bl = static_cast<int>(leaving >> kBucketBits);
        const int be = static_cast<int>(entering >> kBucketBits);
        std::uint16_t* below = p.columnBelow + static_cast<std::ptrdiff_t>(col) * p.entries;
        // The leaving rank was below every bucket above bl, the entering one is below every
        // bucket above be: a pass over all entries (vector code) rather than a loop between
        // the two, whose length varies from column to column.
        const std::uint16_t leavingBucket = static_cast<std::uint16_t>(bl);
        const std::uint16_t enteringBucket = static_cast<std::uint16_t>(be);
        for (int b = 0; b < p.entries; b += kCountLanes) {
            for (int l = 0; l < kCountLanes; ++l) {
                const std::uint16_t bucketOf = static_cast<std::uint16_t>(b + l);
                below[b + l] = static_cast<std::uint16_t>(below[b + l] + (bucketOf > enteringBucket) -
                                                          (bucketOf > leavingBucket));
            }
        }
    }
}

// Brings the window's bits of `bucket` to the window whose first region column is `x`: by
// the columns that left and entered since it was last used in this row, or from the window's
// columns when that is less work.
template <bool kAvx512>
MEDIAN_INLINE const std::uint64_t* bucketFor(const RankPass& p, int bucket, int x)
{
    std::uint64_t* __restrict bits = p.bucketBits + static_cast<std::ptrdiff_t>(bucket) * kBucketWords;
    const int last = p.bucketColumn[bucket];
    if (last == x)
        return bits;
    p.bucketColumn[bucket] = x;
    const bool stepping = 2 * (x - last) <= p.size;
    if constexpr (kAvx512) {
        // The bucket's words as one register. (Other builds would split the vector type
        // through memory, slower than the word loops below.)
        BucketVector window{};
        BucketVector column;
        if (stepping) {
            std::memcpy(&window, bits, sizeof window);
            for (int y = last + 1; y <= x; ++y) {
                std::memcpy(&column, columnBits(p, bucket, y - 1), sizeof column);
                window ^= column;
                std::memcpy(&column, columnBits(p, bucket, y - 1 + p.size), sizeof column);
                window ^= column;
            }
        } else {
            for (int col = x; col < x + p.size; ++col) {
                std::memcpy(&column, columnBits(p, bucket, col), sizeof column);
                window |= column;
            }
        }
        std::memcpy(bits, &window, sizeof window);
    } else if (stepping) {
        for (int y = last + 1; y <= x; ++y) {
            const std::uint64_t* __restrict leaving = columnBits(p, bucket, y - 1);
            const std::uint64_t* __restrict entering = columnBits(p, bucket, y - 1 + p.size);
            for (int w = 0; w < kBucketWords; ++w)
                bits[w] ^= leaving[w] ^ entering[w];
        }
    } else {
        std::fill(bits, bits + kBucketWords, 0);
        const std::uint64_t* __restrict columns = columnBits(p, bucket, x);
        for (int col = 0; col < p.size; ++col)
            for (int w = 0; w < kBucketWords; ++w)
                bits[w] |= columns[col * kBucketWords + w];
    }
    return bits;
}

// The position within `v` of the set bit with `j` set bits before it; one exists. Mask
// arithmetic rather than conditions, as the outcome differs from pixel to pixel.
MEDIAN_INLINE int nthSetBitOfWord(std::uint64_t v, int j)
{
    int position = 0;
    for (int width = 32; width > 0; width /= 2) {
        const std::uint64_t low = v & ((std::uint64_t(1) << width) - 1);
        const int set = __builtin_popcountll(low);
        const int up = -static_cast<int>(j >= set); // all ones when the bit lies higher
        j -= set & up;
        const std::uint64_t upWide = static_cast<std::uint64_t>(static_cast<std::int64_t>(up));
        v = ((v >> width) & upWide) | (low & ~upWide);
        position += width & up;
    }
    return position;
}

// The position of the bucket bit with `j` set bits before it; one exists. The word is found
// by a loop that exits where the counts pass j.
MEDIAN_INLINE int nthSetBitByWords(const std::uint64_t* bits, int j)
{
    int word = 0;
    for (;;) {
        const int set = __builtin_popcountll(bits[word]);
        if (j < set)
            break;
        j -= set;
        ++word;
    }
    return word * 64 + nthSetBitOfWord(bits[word], j);
}

#if defined(__x86_64__) || defined(__i386__)
// The same without a branch: the words' bit counts summed up in one register give the word
// (how many of the sums are at most j), bit deposit the bit (bit `rest` of a one-hot word
// lands on the wanted set bit). Not always-inline, as it may be inlined only into the pass
// built for these instructions; every processor that has them does bit deposit in a few
// cycles (some older AVX2 ones take hundreds).
__attribute__((target("avx512f,avx512vl,avx512bw,avx512vpopcntdq,bmi,bmi2"))) inline int
vectorNthSetBit(const std::uint64_t* bits, int j)
{
    const __m512i words = _mm512_loadu_si512(bits);
    const __m512i counts = _mm512_popcnt_epi64(words);
    const __m512i zero = _mm512_setzero_si512();
    // (The masked forms: the plain ones trip GCC's uninitialised-value warning.)
    __m512i sums = _mm512_add_epi64(counts, _mm512_maskz_alignr_epi64(0xff, counts, zero, 7));
    sums = _mm512_add_epi64(sums, _mm512_maskz_alignr_epi64(0xff, sums, zero, 6));
    sums = _mm512_add_epi64(sums, _mm512_maskz_alignr_epi64(0xff, sums, zero, 4));
    const __mmask8 below = _mm512_cmple_epi64_mask(sums, _mm512_set1_epi64(j));
    const int word = __builtin_popcount(below);
    const __m512i before =
        _mm512_maskz_permutexvar_epi64(0xff, _mm512_set1_epi64(word), _mm512_sub_epi64(sums, counts));
    const int rest = j - _mm512_cvtsi512_si32(before);
    return word * 64 + static_cast<int>(_tzcnt_u64(_pdep_u64(std::uint64_t(1) << rest, bits[word])));
}
#else
inline int vectorNthSetBit(const std::uint64_t* bits, int j)
{
    return nthSetBitByWords(bits, j);
}
#endif

template <bool kAvx512>
MEDIAN_INLINE int nthSetBit(const std::uint64_t* bits, int j)
{
    if constexpr (kAvx512)
        return vectorNthSetBit(bits, j);
    else
        return nthSetBitByWords(bits, j);
}

// How many ranks of the window whose first region column is `x` lie below bucket `bucket`.
MEDIAN_INLINE int windowBelow(const RankPass& p, int bucket, int x)
{
    const std::uint16_t* below = p.columnBelow + static_cast<std::ptrdiff_t>(x) * p.entries + bucket;
    int sum = 0;
    for (int col = 0; col < p.size; ++col)
        sum += below[static_cast<std::ptrdiff_t>(col) * p.entries];
    return sum;
}

// kAvx512: built for AVX-512 processors with the vector bit count.
template <bool kAvx512>
MEDIAN_INLINE void passBody(const RankPass& p)
{
    const int middle = p.size * p.size / 2;
    startColumns(p);
    int rowBucket = 0;
    for (int r = p.r0; r <= p.r1; ++r) {
        const int top = r - p.r0; // region row of the window's top
        if (top > 0)
            stepColumns(p, top - 1);
        std::fill(p.bucketColumn, p.bucketColumn + p.entries, kNoColumn);

        // The median's bucket has at most `middle` window ranks below it (`lower`) and more
        // than that below the next (`upper`). Both change by the leaving and entering
        // columns' counts; only when the median leaves its bucket (a few pixels in a hundred)
        // are the counts of the next bucket summed over the window's columns.
        int bucket = rowBucket;
        int lower = windowBelow(p, bucket, 0);
        int upper = windowBelow(p, bucket + 1, 0);
        int* out = p.out + static_cast<std::ptrdiff_t>(p.c0) * p.rows + r;
        for (int x = 0; x <= p.c1 - p.c0; ++x) {
            if (x > 0) {
                const std::uint16_t* __restrict leaving =
                    p.columnBelow + static_cast<std::ptrdiff_t>(x - 1) * p.entries;
                const std::uint16_t* __restrict entering =
                    p.columnBelow + static_cast<std::ptrdiff_t>(x - 1 + p.size) * p.entries;
                lower += entering[bucket] - leaving[bucket];
                upper += entering[bucket + 1] - leaving[bucket + 1];
            }
            // Bucket 0 has none below it, the entries past the last bucket all of them.
            while (lower > middle) {
                --bucket;
                upper = lower;
                lower = windowBelow(p, bucket, x);
            }
            while (upper <= middle) {
                ++bucket;
                lower = upper;
                upper = windowBelow(p, bucket + 1, x);
            }
            if (x == 0)
                rowBucket = bucket;
            std::memcpy(p.rowBits + static_cast<std::ptrdiff_t>(x) * kBucketWords,
                        bucketFor<kAvx512>(p, bucket, x), kBucketWords * sizeof(std::uint64_t));
            p.rowBucket[x] = bucket;
            p.rowSkip[x] = middle - lower;
        }
        // The bit searches last apart from the window's steps: no pixel's search waits for
        // another's, so the processor overlaps them.
        for (int x = 0; x <= p.c1 - p.c0; ++x, out += p.rows) {
            const int rank =
                p.rowBucket[x] * kBucketRanks +
                nthSetBit<kAvx512>(p.rowBits + static_cast<std::ptrdiff_t>(x) * kBucketWords, p.rowSkip[x]);
            *out = p.sortedValues[rank];
        }
    }
    flipColumnWindows(p, p.r1 - p.r0);
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2,popcnt,bmi"))) void passAvx2(const RankPass& p)
{
    passBody<false>(p);
}

// The AVX-512 build also needs the vector bit count (the first AVX-512 processors, without
// it, take the AVX2 build).
__attribute__((target("avx2,avx512f,avx512vl,avx512bw,avx512vpopcntdq,popcnt,bmi,bmi2"))) void
passAvx512(const RankPass& p)
{
    passBody<true>(p);
}

bool hasAvx2()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
           __builtin_cpu_supports("bmi");
}

bool hasAvx512()
{
    return hasAvx2() && __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vpopcntdq");
}
#else
void passAvx2(const RankPass& p)
{
    passBody<false>(p);
}

void passAvx512(const RankPass& p)
{
    passBody<false>(p);
}

bool hasAvx2()
{
    return false;
}

bool hasAvx512()
{
    return false;
}
#endif

void passBaseline(const RankPass& p)
{
    passBody<false>(p);
}

} // namespace

bool MedianRankPass::apply(const int* field, int rows, int c0, int c1, int r0, int r1, int size, int* out)
{
    const int h = size / 2;
    int lowest = INT_MAX;
    int highest = INT_MIN;
    for (int c = c0 - h; c <= c1 + h; ++c) {
        const int* in = field + static_cast<std::ptrdiff_t>(c) * rows + r0 - h;
        for (int i = 0; i < r1 - r0 + 1 + 2 * h; ++i) {
            lowest = std::min(lowest, in[i]);
            highest = std::max(highest, in[i]);
        }
    }
    if (static_cast<long long>(highest) - lowest >= kMaxSpread)
        return false;

    // Strips of output columns keep the per-column bits of a strip's ranks in the processor's
    // second-level cache; each strip ranks its own region. They are made equal, near the
    // target width (a last narrow strip would rank its 2 h extra columns for only a few
    // output columns).
    const int target = stripColumns(size);
    const int columns = c1 - c0 + 1;
    const int strips = std::max(1, (columns + target / 2) / target);
    const int strip = (columns + strips - 1) / strips;
    for (int first = c0; first <= c1; first += strip)
        passStrip(field, rows, first, std::min(c1, first + strip - 1), r0, r1, size, lowest, out);
    return true;
}

void MedianRankPass::rankRegion(const int* field, int rows, int firstColumn, int width, int firstRow,
                                int height, int lowest)
{
    // A radix sort of the values (less the lowest, below 2^17) in two digits gives every
    // pixel its rank, equal values in region order.
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::vector<std::uint32_t>* v : {&m_keys, &m_sorting, &m_ranks})
        if (v->size() < pixels)
            v->resize(pixels);
    if (m_sortedValues.size() < pixels)
        m_sortedValues.resize(pixels);
    std::uint32_t* keys = m_keys.data();
    for (int col = 0; col < width; ++col) {
        const int* in = field + static_cast<std::ptrdiff_t>(firstColumn + col) * rows + firstRow;
        for (int i = 0; i < height; ++i)
            keys[col * height + i] = static_cast<std::uint32_t>(in[i] - lowest);
    }
    constexpr int kLowBits = 9;
    constexpr std::uint32_t kLowMask = (1u << kLowBits) - 1;
    std::uint32_t lowStarts[1 << kLowBits] = {};
    std::uint32_t highStarts[1 << (17 - kLowBits)];
    // Neighbouring pixels mostly share the high digit; four interleaved tallies of it keep
    // each increment from waiting for the one before.
    std::uint32_t highCounts[4][1 << (17 - kLowBits)] = {};
    std::size_t i = 0;
    for (; i + 4 <= pixels; i += 4) {
        for (std::size_t k = 0; k < 4; ++k) {
            ++lowStarts[keys[i + k] & kLowMask];
            ++highCounts[k][keys[i + k] >> kLowBits];
        }
    }
    for (; i < pixels; ++i) {
        ++lowStarts[keys[i] & kLowMask];
        ++highCounts[0][keys[i] >> kLowBits];
    }
    for (int d = 0; d < 1 << (17 - kLowBits); ++d)
        highStarts[d] = highCounts[0][d] + highCounts[1][d] + highCounts[2][d] + highCounts[3][d];
    auto toStarts = [](std::uint32_t* starts, int count) {
        std::uint32_t start = 0;
        for (int i = 0; i < count; ++i) {
            const std::uint32_t n = starts[i];
            starts[i] = start;
            start += n;
        }
    };
    toStarts(lowStarts, 1 << kLowBits);
    toStarts(highStarts, 1 << (17 - kLowBits));
    std::uint32_t* sorting = m_sorting.data();
    for (std::uint32_t i = 0; i < pixels; ++i)
        sorting[lowStarts[keys[i] & kLowMask]++] = i;
    // The second digit's places are the ranks.
    std::uint32_t* ranks = m_ranks.data();
    int* sortedValues = m_sortedValues.data();
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint32_t pixel = sorting[i];
        const std::uint32_t key = keys[pixel];
        const std::uint32_t rank = highStarts[key >> kLowBits]++;
        ranks[pixel] = rank;
        sortedValues[rank] = static_cast<int>(key) + lowest;
    }
}

void MedianRankPass::passStrip(const int* field, int rows, int c0, int c1, int r0, int r1, int size,
                               int lowest, int* out)
{
    const int h = size / 2;
    const int width = c1 - c0 + 1 + 2 * h;
    const int height = r1 - r0 + 1 + 2 * h;
    rankRegion(field, rows, c0 - h, width, r0 - h, height, lowest);
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);

    const int buckets = static_cast<int>((pixels + kBucketRanks - 1) / kBucketRanks);
    // One entry more than buckets, so that entry b + 1 of the median's bucket exists.
    const int entries = (buckets + 1 + kCountLanes - 1) / kCountLanes * kCountLanes;
    const std::size_t columnEntries = static_cast<std::size_t>(width) * entries;
    const std::size_t columnWords = static_cast<std::size_t>(buckets) * width * kBucketWords;
    if (m_columnBits.size() < columnWords)
        m_columnBits.resize(columnWords); // all clear; every pass leaves it so
    if (m_columnBelow.size() < columnEntries)
        m_columnBelow.resize(columnEntries);
    if (m_bucketBits.size() < static_cast<std::size_t>(entries) * kBucketWords)
        m_bucketBits.resize(static_cast<std::size_t>(entries) * kBucketWords);
    if (m_bucketColumn.size() < static_cast<std::size_t>(entries))
        m_bucketColumn.resize(entries);
    const std::size_t outputColumns = static_cast<std::size_t>(c1 - c0 + 1);
    if (m_rowBucket.size() < outputColumns) {
        m_rowBits.resize(outputColumns * kBucketWords);
        m_rowBucket.resize(outputColumns);
        m_rowSkip.resize(outputColumns);
    }

    RankPass p{rows,
               c0,
               c1,
               r0,
               r1,
               size,
               out,
               width,
               height,
               entries,
               m_ranks.data(),
               m_sortedValues.data(),
               m_columnBits.data(),
               m_columnBelow.data(),
               m_bucketBits.data(),
               m_bucketColumn.data(),
               m_rowBits.data(),
               m_rowBucket.data(),
               m_rowSkip.data()};
    if (m_widest == Instructions::Widest && hasAvx512())
        passAvx512(p);
    else if (m_widest != Instructions::Baseline && hasAvx2())
        passAvx2(p);
    else
        passBaseline(p);
}
