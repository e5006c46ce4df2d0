#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Reads the choices of one fuzz input from its front: small numbers in a range and flags,
// then the rest as one block. Past the end every choice reads as its lowest value, so that a
// short input is still a valid case.
class FuzzInput final
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    // A number in [low, high] from one byte (two when the range needs them).
    int intIn(int low, int high)
    {
        const unsigned span = unsigned(high - low) + 1u;
        unsigned raw = byte();
        if (span > 256u)
            raw = (raw << 8) | byte();
        return low + int(raw % span);
    }
    bool flag() { return (byte() & 1u) != 0; }
    std::size_t remaining() const { return m_size - m_position; }
    // The next `count` bytes (fewer at the end).
    QByteArray take(std::size_t count)
    {
        const std::size_t n = count < remaining() ? count : remaining();
        QByteArray out(reinterpret_cast<const char*>(m_data + m_position), int(n));
        m_position += n;
        return out;
    }
    QByteArray rest() { return take(remaining()); }

private:
    unsigned byte() { return m_position < m_size ? m_data[m_position++] : 0u; }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};
