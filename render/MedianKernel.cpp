#include "render/MedianKernel.h"

#include "render/MedianRankPass.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

// GCC's hint that the marked loops write rows none of their reads alias, so that it vectorises
// them without run-time overlap checks; other compilers go by the __restrict pointers alone.
#if defined(__GNUC__) && !defined(__clang__)
#define INDEPENDENT_ITERATIONS _Pragma("GCC ivdep")
#else
#define INDEPENDENT_ITERATIONS
#endif

// The 3 x 3 and 5 x 5 passes work on whole column stretches at a time: every window column
// is sorted once (shared by the s windows it belongs to), then each output row stretch is one
// branch-free loop of min/max operations that the compiler turns into vector code. Those
// loops are built for the baseline instruction set, for AVX2 and (5 x 5, which needs the
// extra registers) for AVX-512; the processor's abilities pick one at run time.
//
// In-place safety: the passes walk the output columns from left to right and keep the sorted
// (3 x 3, 5 x 5) or copied (larger sizes) window columns in a ring in the scratch storage.
// A field column is read into the ring before any output is written into it, so every window
// sees the field as it was before the pass.

#define MEDIAN_INLINE inline __attribute__((always_inline))

namespace {

struct Pass
{
    int* field;
    int rows;
    int c0; // first and last output column
    int c1;
    int r0; // first and last output row
    int r1;
    int* scratch;
};

MEDIAN_INLINE void sort2(int& a, int& b)
{
    const int lo = std::min(a, b);
    b = std::max(a, b);
    a = lo;
}

MEDIAN_INLINE int median3(int a, int b, int c)
{
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

MEDIAN_INLINE void sort3(int& a, int& b, int& c)
{
    sort2(a, b);
    sort2(b, c);
    sort2(a, b);
}

// Optimal 9-comparator network.
MEDIAN_INLINE void sort5(int& a, int& b, int& c, int& d, int& e)
{
    sort2(a, b);
    sort2(d, e);
    sort2(c, e);
    sort2(c, d);
    sort2(a, d);
    sort2(a, c);
    sort2(b, e);
    sort2(b, d);
    sort2(b, c);
}

MEDIAN_INLINE int* column(const Pass& p, int c)
{
    return p.field + static_cast<std::ptrdiff_t>(c) * p.rows;
}

// --- 3 x 3 -------------------------------------------------------------------------------

MEDIAN_INLINE int* slot3(const Pass& p, int n, int c, int rank)
{
    return p.scratch + static_cast<std::ptrdiff_t>((c % 3) * 3 + rank) * n;
}

MEDIAN_INLINE void sortColumn3(const Pass& p, int n, int c)
{
    const int* __restrict in = column(p, c) + p.r0;
    int* __restrict lo = slot3(p, n, c, 0);
    int* __restrict mid = slot3(p, n, c, 1);
    int* __restrict hi = slot3(p, n, c, 2);
    INDEPENDENT_ITERATIONS
    for (int i = 0; i < n; ++i) {
        int a = in[i - 1];
        int b = in[i];
        int d = in[i + 1];
        sort3(a, b, d);
        lo[i] = a;
        mid[i] = b;
        hi[i] = d;
    }
}

// With the three window columns sorted, the median of the nine is the median of the largest
// minimum, the middle middle and the smallest maximum.
MEDIAN_INLINE void pass3(const Pass& p)
{
    const int n = p.r1 - p.r0 + 1;
    sortColumn3(p, n, p.c0 - 1);
    sortColumn3(p, n, p.c0);
    for (int c = p.c0; c <= p.c1; ++c) {
        sortColumn3(p, n, c + 1);
        const int* __restrict lo0 = slot3(p, n, c - 1, 0);
        const int* __restrict lo1 = slot3(p, n, c, 0);
        const int* __restrict lo2 = slot3(p, n, c + 1, 0);
        const int* __restrict mid0 = slot3(p, n, c - 1, 1);
        const int* __restrict mid1 = slot3(p, n, c, 1);
        const int* __restrict mid2 = slot3(p, n, c + 1, 1);
        const int* __restrict hi0 = slot3(p, n, c - 1, 2);
        const int* __restrict hi1 = slot3(p, n, c, 2);
        const int* __restrict hi2 = slot3(p, n, c + 1, 2);
        int* __restrict out = column(p, c) + p.r0;
        INDEPENDENT_ITERATIONS
        for (int i = 0; i < n; ++i) {
            const int lo = std::max(std::max(lo0[i], lo1[i]), lo2[i]);
            const int mid = median3(mid0[i], mid1[i], mid2[i]);
            const int hi = std::min(std::min(hi0[i], hi1[i]), hi2[i]);
            out[i] = median3(lo, mid, hi);
        }
    }
}

// --- 5 x 5 -------------------------------------------------------------------------------

MEDIAN_INLINE int* slot5(const Pass& p, int n, int c, int rank)
{
    return p.scratch + static_cast<std::ptrdiff_t>((c % 5) * 5 + rank) * n;
}

MEDIAN_INLINE void sortColumn5(const Pass& p, int n, int c)
{
    const int* __restrict in = column(p, c) + p.r0;
    int* __restrict s0 = slot5(p, n, c, 0);
    int* __restrict s1 = slot5(p, n, c, 1);
    int* __restrict s2 = slot5(p, n, c, 2);
    int* __restrict s3 = slot5(p, n, c, 3);
    int* __restrict s4 = slot5(p, n, c, 4);
    INDEPENDENT_ITERATIONS
    for (int i = 0; i < n; ++i) {
        int a = in[i - 2];
        int b = in[i - 1];
        int d = in[i];
        int e = in[i + 1];
        int f = in[i + 2];
        sort5(a, b, d, e, f);
        s0[i] = a;
        s1[i] = b;
        s2[i] = d;
        s3[i] = e;
        s4[i] = f;
    }
}

// The five window columns are sorted. Sorting each rank across the columns as well would
// leave a 5 x 5 table ordered along rows and columns, in which an entry with 14 or more
// entries at or above it (or at or below it) cannot be the 13th smallest; the middle of the
// 13 remaining candidates is the median. The network below is that row sort followed by a
// 13-input median network, with every comparator removed whose result is already fixed by
// the sorted columns (checked on all inputs with sorted 0/1 columns, which by the 0/1
// principle covers all inputs with sorted columns); the median ends in r22.
MEDIAN_INLINE void pass5(const Pass& p)
{
    const int n = p.r1 - p.r0 + 1;
    for (int c = p.c0 - 2; c < p.c0 + 2; ++c)
        sortColumn5(p, n, c);
    for (int c = p.c0; c <= p.c1; ++c) {
        sortColumn5(p, n, c + 2);
        const int* __restrict a0 = slot5(p, n, c - 2, 0);
        const int* __restrict a1 = slot5(p, n, c - 2, 1);
        const int* __restrict a2 = slot5(p, n, c - 2, 2);
        const int* __restrict a3 = slot5(p, n, c - 2, 3);
        const int* __restrict a4 = slot5(p, n, c - 2, 4);
        const int* __restrict b0 = slot5(p, n, c - 1, 0);
        const int* __restrict b1 = slot5(p, n, c - 1, 1);
        const int* __restrict b2 = slot5(p, n, c - 1, 2);
        const int* __restrict b3 = slot5(p, n, c - 1, 3);
        const int* __restrict b4 = slot5(p, n, c - 1, 4);
        const int* __restrict d0 = slot5(p, n, c, 0);
        const int* __restrict d1 = slot5(p, n, c, 1);
        const int* __restrict d2 = slot5(p, n, c, 2);
        const int* __restrict d3 = slot5(p, n, c, 3);
        const int* __restrict d4 = slot5(p, n, c, 4);
        const int* __restrict e0 = slot5(p, n, c + 1, 0);
        const int* __restrict e1 = slot5(p, n, c + 1, 1);
        const int* __restrict e2 = slot5(p, n, c + 1, 2);
        const int* __restrict e3 = slot5(p, n, c + 1, 3);
        const int* __restrict e4 = slot5(p, n, c + 1, 4);
        const int* __restrict f0 = slot5(p, n, c + 2, 0);
        const int* __restrict f1 = slot5(p, n, c + 2, 1);
        const int* __restrict f2 = slot5(p, n, c + 2, 2);
        const int* __restrict f3 = slot5(p, n, c + 2, 3);
        const int* __restrict f4 = slot5(p, n, c + 2, 4);
        int* __restrict out = column(p, c) + p.r0;
        INDEPENDENT_ITERATIONS
        for (int i = 0; i < n; ++i) {
            int r00 = a0[i], r01 = b0[i], r02 = d0[i], r03 = e0[i], r04 = f0[i];
            int r10 = a1[i], r11 = b1[i], r12 = d1[i], r13 = e1[i], r14 = f1[i];
            int r20 = a2[i], r21 = b2[i], r22 = d2[i], r23 = e2[i], r24 = f2[i];
            int r30 = a3[i], r31 = b3[i], r32 = d3[i], r33 = e3[i], r34 = f3[i];
            int r40 = a4[i], r41 = b4[i], r42 = d4[i], r43 = e4[i], r44 = f4[i];
            sort2(r00, r01);
            sort2(r02, r04);
            sort2(r02, r03);
            sort2(r00, r03);
            sort2(r01, r04);
            sort2(r01, r03);
            sort2(r10, r11);
            sort2(r13, r14);
            sort2(r12, r14);
            sort2(r10, r12);
            sort2(r11, r14);
            sort2(r11, r13);
            sort2(r11, r12);
            sort2(r20, r21);
            sort2(r23, r24);
            sort2(r22, r24);
            sort2(r22, r23);
            sort2(r20, r23);
            sort2(r20, r22);
            sort2(r21, r24);
            sort2(r30, r31);
            sort2(r32, r34);
            sort2(r32, r33);
            sort2(r30, r33);
            sort2(r30, r32);
            sort2(r31, r34);
            sort2(r31, r33);
            sort2(r31, r32);
            sort2(r40, r41);
            sort2(r43, r44);
            sort2(r42, r44);
            sort2(r42, r43);
            sort2(r40, r43);
            sort2(r41, r42);
            sort2(r03, r04);
            sort2(r12, r13);
            sort2(r14, r21);
            sort2(r32, r40);
            sort2(r03, r12);
            sort2(r04, r13);
            sort2(r14, r22);
            sort2(r21, r23);
            sort2(r04, r12);
            sort2(r21, r22);
            sort2(r04, r21);
            sort2(r12, r14);
            sort2(r13, r21);
            sort2(r32, r41);
            sort2(r13, r14);
            sort2(r21, r22);
            sort2(r31, r32);
            sort2(r40, r41);
            sort2(r04, r31);
            sort2(r13, r40);
            sort2(r14, r30);
            sort2(r21, r31);
            sort2(r22, r32);
            sort2(r13, r21);
            sort2(r22, r30);
            sort2(r21, r22);
            out[i] = r22;
        }
    }
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) void pass3Avx2(const Pass& p)
{
    pass3(p);
}

__attribute__((target("avx2"))) void pass5Avx2(const Pass& p)
{
    pass5(p);
}

// AVX-512 doubles the vector registers, which the 5 x 5 network needs to stay out of memory.
__attribute__((target("avx2,avx512f,avx512vl"))) void pass5Avx512(const Pass& p)
{
    pass5(p);
}

bool hasAvx2()
{
    return __builtin_cpu_supports("avx2");
}

bool hasAvx512()
{
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
}
#else
void pass5Avx512(const Pass& p)
{
    pass5(p);
}

bool hasAvx512()
{
    return false;
}

void pass3Avx2(const Pass& p)
{
    pass3(p);
}

void pass5Avx2(const Pass& p)
{
    pass5(p);
}

bool hasAvx2()
{
    return false;
}
#endif

void pass3Baseline(const Pass& p)
{
    pass3(p);
}

void pass5Baseline(const Pass& p)
{
    pass5(p);
}

// --- larger sizes ------------------------------------------------------------------------

void insertionSort(int* values, int count)
{
    for (int i = 1; i < count; ++i) {
        const int v = values[i];
        int j = i;
        for (; j > 0 && values[j - 1] > v; --j)
            values[j] = values[j - 1];
        values[j] = v;
    }
}

// Slides a sorted copy of the window down each output column: per row, the s values of the
// row leaving the window are removed and the s values of the row entering it merged in, in
// one walk over the window. The ring holds copies of the window columns over the rows
// r0 - h ... r1 + h.
void passSliding(const Pass& p, int size, int* window)
{
    const int h = size / 2;
    const int n = p.r1 - p.r0 + 1;
    const int height = n + 2 * h;
    const int count = size * size;
    const int middle = count / 2;
    int* sorted = window;
    int* merged = window + count;
    int* leaving = window + 2 * count;
    int* entering = leaving + size;
    auto ringColumn = [&](int c) { return p.scratch + static_cast<std::ptrdiff_t>(c % size) * height; };
    auto copyColumn = [&](int c) {
        const int* in = column(p, c) + p.r0 - h;
        std::copy(in, in + height, ringColumn(c));
    };

    for (int c = p.c0 - h; c < p.c0 + h; ++c)
        copyColumn(c);
    for (int c = p.c0; c <= p.c1; ++c) {
        copyColumn(c + h);
        int* out = column(p, c) + p.r0;

        int k = 0;
        for (int wc = c - h; wc <= c + h; ++wc) {
            const int* ring = ringColumn(wc);
            for (int t = 0; t < size; ++t)
                sorted[k++] = ring[t];
        }
        std::sort(sorted, sorted + count);
        out[0] = sorted[middle];

        for (int i = 1; i < n; ++i) {
            for (int w = 0; w < size; ++w) {
                const int* ring = ringColumn(c - h + w);
                leaving[w] = ring[i - 1];
                entering[w] = ring[i - 1 + size];
            }
            insertionSort(leaving, size);
            insertionSort(entering, size);
            int li = 0;
            int ei = 0;
            int mi = 0;
            for (int si = 0; si < count; ++si) {
                const int v = sorted[si];
                if (li < size && v == leaving[li]) {
                    ++li;
                    continue;
                }
                while (ei < size && entering[ei] < v)
                    merged[mi++] = entering[ei++];
                merged[mi++] = v;
            }
            while (ei < size)
                merged[mi++] = entering[ei++];
            std::swap(sorted, merged);
            out[i] = sorted[middle];
        }
    }
}

} // namespace

MedianKernel::MedianKernel() = default;
MedianKernel::~MedianKernel() = default;

int MedianKernel::boundedSize(int size)
{
    if (size < kMinSize)
        return kMinSize;
    if (size >= kMaxSize)
        return kMaxSize;
    return size | 1;
}

void MedianKernel::apply(int* field, int columns, int rows, int x1, int x2, int y1, int y2, int size)
{
    const int s = boundedSize(size);
    const int h = s / 2;
    if (!field || columns < s || rows < s)
        return;
    Pass p{};
    p.field = field;
    p.rows = rows;
    p.c0 = std::max(x1, h);
    p.c1 = std::min(x2, columns - 1 - h);
    p.r0 = std::max(y1, h);
    p.r1 = std::min(y2, rows - 1 - h);
    if (p.c0 > p.c1 || p.r0 > p.r1)
        return;
    const std::size_t n = static_cast<std::size_t>(p.r1 - p.r0 + 1);

    std::size_t scratch = 0;
    if (s == 3)
        scratch = 9 * n;
    else if (s == 5)
        scratch = 25 * n;
    else
        scratch = static_cast<std::size_t>(s) * (n + 2 * h);
    if (m_scratch.size() < scratch)
        m_scratch.resize(scratch);
    p.scratch = m_scratch.data();

    if (s == 3) {
        hasAvx2() ? pass3Avx2(p) : pass3Baseline(p);
    } else if (s == 5) {
        if (hasAvx512())
            pass5Avx512(p);
        else
            hasAvx2() ? pass5Avx2(p) : pass5Baseline(p);
    } else {
        const std::size_t cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
        if (m_output.size() < cells)
            m_output.resize(cells);
        if (!m_rankPass)
            m_rankPass = std::make_unique<MedianRankPass>();
        if (m_rankPass->apply(field, rows, p.c0, p.c1, p.r0, p.r1, s, m_output.data())) {
            for (int c = p.c0; c <= p.c1; ++c) {
                const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(c) * rows + p.r0;
                std::copy(m_output.data() + offset, m_output.data() + offset + n, field + offset);
            }
            return;
        }
        const std::size_t window = 2 * static_cast<std::size_t>(s) * s + 2 * s;
        if (m_window.size() < window)
            m_window.resize(window);
        passSliding(p, s, m_window.data());
    }
}
