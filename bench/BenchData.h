#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// Synthetic frames of the 328 x 252 sensor for the benchmarks, stored column by column
// (column c, row r at [c * rows + r]) like the decoded pixel fields.
namespace BenchData {

constexpr int kColumns = 328;
constexpr int kRows = 252;

// Small deterministic generator, so every run measures the same data.
class Noise final
{
public:
    explicit Noise(std::uint32_t seed) : m_state(seed) {}
    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int uniform(int low, int high)
    {
        return low + static_cast<int>(next() % static_cast<std::uint32_t>(high - low));
    }

private:
    std::uint32_t m_state;
};

// A room seen by the camera: a sloping floor and back wall, a box and a ball in front, a few
// LSB of noise, low-amplitude pixels (65300) in the dark corners, a saturated reflector
// (65400) and scattered ADC overflows (65500). Distances lie in 0 ... 29999.
inline std::vector<int> distanceField()
{
    std::vector<int> field(static_cast<std::size_t>(kColumns) * kRows);
    Noise noise(12345);
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            double d = 18000 + 25 * (kRows - r) + 4 * std::abs(c - kColumns / 2);
            if (c > 60 && c < 140 && r > 90 && r < 200)
                d = 9000 + 10 * r;
            const double dx = c - 230;
            const double dy = r - 130;
            if (dx * dx + dy * dy < 45 * 45)
                d = 6000 + 2 * (dx * dx + dy * dy);
            int v = static_cast<int>(d) + noise.uniform(-40, 41);
            v = v < 0 ? 0 : (v > 29999 ? 29999 : v);
            const double cx = (c - kColumns / 2.0) / (kColumns / 2.0);
            const double cy = (r - kRows / 2.0) / (kRows / 2.0);
            if (cx * cx + cy * cy > 1.7 && noise.uniform(0, 3) != 0)
                v = 65300;
            if (c >= 300 && c < 306 && r >= 20 && r < 26)
                v = 65400;
            if (noise.uniform(0, 2000) == 0)
                v = 65500;
            field[static_cast<std::size_t>(c) * kRows + r] = v;
        }
    }
    return field;
}

// The matching amplitudes in 0 ... 4095, brighter in the centre, with the same status pixels.
inline std::vector<int> amplitudeField()
{
    std::vector<int> field = distanceField();
    Noise noise(777);
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            int& v = field[static_cast<std::size_t>(c) * kRows + r];
            if (v >= 65300)
                continue;
            const double cx = (c - kColumns / 2.0) / kColumns;
            const double cy = (r - kRows / 2.0) / kRows;
            v = static_cast<int>(3500 * std::exp(-4 * (cx * cx + cy * cy))) + noise.uniform(0, 200);
        }
    }
    return field;
}

} // namespace BenchData
