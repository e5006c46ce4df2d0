#pragma once

#include <cstdint>
#include <vector>

// The median pass for windows larger than 5 x 5, at a cost per pixel that hardly depends on
// the window size. It works on the ranks of the values (their places in the sorted region,
// equal values ordered by position), so every rank occurs once and the median of a window is
// the value whose rank is the middle one of the window's ranks.
//
// The ranks are grouped in buckets of 512. For every column of the region the pass keeps, for
// the column's s window rows, a bit set of their ranks per bucket and how many of them lie in
// lower buckets. Both change by one rank leaving and one entering per column and row. The
// median's bucket is where the window's counts (the sum of its s columns) pass the middle
// rank; the window's counts below that bucket and the next are updated by one column leaving
// and one entering as the window moves along a row.
// The window's bit set of that bucket is the exclusive or of its columns' sets, brought up to
// date only when the median lands in the bucket; the median is the right set bit of it.
//
// The output columns go in strips, each ranking its own region, so that the column bit sets
// (columns times ranks bits) stay in the processor's cache.
//
// Any value range up to kMaxSpread values is exact; wider ranges are refused and left to the
// caller.
class MedianRankPass final
{
public:
    // The widest value range (largest minus smallest value, plus one) the pass ranks.
    static constexpr int kMaxSpread = 1 << 17;
    // Output columns per strip, roughly (the strips of a pass are made equal): narrow strips
    // keep the column bits in the cache, wider ones rank fewer extra columns.
    static constexpr int stripColumns(int size) { return size < 15 ? 40 : 48; }

    // The instruction sets a pass may use: the widest the processor offers, unless narrowed
    // (so that every build can be checked on any processor).
    enum class Instructions
    {
        Widest,
        Avx2,
        Baseline
    };

    explicit MedianRankPass(Instructions widest = Instructions::Widest) : m_widest(widest) {}

    // Writes the median of every s x s window centred on c0 ... c1, r0 ... r1 into `out` (laid
    // out like `field`, `rows` values per column); the windows may reach h = s / 2 beyond
    // those bounds and must lie inside the field. Returns false, writing nothing, when the
    // values read span more than kMaxSpread.
    bool apply(const int* field, int rows, int c0, int c1, int r0, int r1, int size, int* out);

private:
    void rankRegion(const int* field, int rows, int firstColumn, int width, int firstRow, int height,
                    int lowest);
    void passStrip(const int* field, int rows, int c0, int c1, int r0, int r1, int size, int lowest,
                   int* out);

    Instructions m_widest;
    std::vector<std::uint32_t> m_keys;        // per region pixel, its value less the lowest
    std::vector<std::uint32_t> m_sorting;     // region pixels sorted by the key's low digit
    std::vector<std::uint32_t> m_ranks;       // per region pixel, its rank
    std::vector<int> m_sortedValues;          // per rank, its value
    std::vector<std::uint64_t> m_columnBits;  // per bucket and region column, its window ranks
    std::vector<std::uint16_t> m_columnBelow; // per region column and bucket, ranks in lower buckets
    std::vector<std::uint64_t> m_bucketBits;  // per bucket, the window's ranks in it
    std::vector<int> m_bucketColumn;          // per bucket, the window its bits belong to
    std::vector<std::uint64_t> m_rowBits;     // per output column of a row, its median's bucket bits
    std::vector<int> m_rowBucket;             // ... the median's bucket
    std::vector<int> m_rowSkip;               // ... its window ranks in the bucket below the median
};
