// Bounds-checked little-endian reading over untrusted bytes. Every picture
// decoder and the metafile player read through this; nothing indexes the
// raw buffer directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>

namespace automenu {

// Thrown when a read would pass the end of the data. Callers translate it
// into the failure their format prescribes.
class ReadPastEnd : public std::runtime_error {
public:
    ReadPastEnd() : std::runtime_error("read past end of data") {}
};

// a + b, or nothing when the sum does not fit.
template <typename T>
constexpr std::optional<T> checked_add(T a, T b) {
    if (a > std::numeric_limits<T>::max() - b) return std::nullopt;
    return a + b;
}

// a * b, or nothing when the product does not fit.
template <typename T>
constexpr std::optional<T> checked_mul(T a, T b) {
    if (a != 0 && b > std::numeric_limits<T>::max() / a) return std::nullopt;
    return a * b;
}

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> data) : m_data(data) {}
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data, size) {}

    std::size_t Size() const { return m_data.size(); }
    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_data.size() - m_pos; }

    void Seek(std::size_t pos) {
        if (pos > m_data.size()) throw ReadPastEnd();
        m_pos = pos;
    }
    void Skip(std::size_t n) {
        if (n > Remaining()) throw ReadPastEnd();
        m_pos += n;
    }

    std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)[0]); }
    std::uint16_t U16() {
        auto b = Take(2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t U32() {
        auto b = Take(4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    float F32() {
        std::uint32_t bits = U32();
        float f;
        static_assert(sizeof f == sizeof bits);
        __builtin_memcpy(&f, &bits, sizeof f);
        return f;
    }

    // The next n bytes as a view into the data.
    std::span<const std::uint8_t> Take(std::size_t n) {
        if (n > Remaining()) throw ReadPastEnd();
        auto out = m_data.subspan(m_pos, n);
        m_pos += n;
        return out;
    }
    // Up to n bytes: fewer when the data ends first.
    std::span<const std::uint8_t> TakeUpTo(std::size_t n) { return Take(n < Remaining() ? n : Remaining()); }

    // A reader over [offset, offset + size) of the same data, or ReadPastEnd.
    ByteReader Sub(std::size_t offset, std::size_t size) const {
        auto end = checked_add(offset, size);
        if (!end || *end > m_data.size()) throw ReadPastEnd();
        return ByteReader(m_data.subspan(offset, size));
    }
    std::span<const std::uint8_t> Data() const { return m_data; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

}  // namespace automenu
