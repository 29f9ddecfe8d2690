// Small metafiles built in the tests, record by record.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "formats/MetafileBits.h"
#include "formats/MetafileReader.h"

namespace automenu::test {

// Builds EMF records: a header for a 100 x 100 picture on a 96-dpi device, then records.
class Emf {
public:
    Emf() {
        Record(1, {0, 0, 99, 99,                       // bounds
                   0, 0, 2645, 2645,                   // frame, 0.01 mm: 100 px at 96 dpi
                   0x464D4520, 0x10000, 0, 0, 0, 0, 0, 0,  // signature .. palette entries
                   960, 960, 254, 254});               // device: 960 px on 254 mm
    }
    Emf& Record(std::uint32_t type, std::initializer_list<std::int64_t> words) {
        return Record(type, std::vector<std::int64_t>(words));
    }
    Emf& Record(std::uint32_t type, const std::vector<std::int64_t>& words) {
        Put(type);
        Put(static_cast<std::uint32_t>(8 + 4 * words.size()));
        for (std::int64_t w : words) Put(static_cast<std::uint32_t>(w));
        return *this;
    }
    // A record given as raw bytes after type and size (size may be forced).
    Emf& Raw(std::uint32_t type, std::uint32_t size, std::initializer_list<std::int64_t> words) {
        Put(type);
        Put(size);
        for (std::int64_t w : words) Put(static_cast<std::uint32_t>(w));
        return *this;
    }
    Emf& Bytes(const std::vector<std::uint8_t>& b) {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    MetafileBits Bits() {
        Record(14, {0, 16, 20});  // EOF
        const std::uint32_t total = static_cast<std::uint32_t>(m_bytes.size());
        std::memcpy(m_bytes.data() + 48, &total, 4);
        return ReadMetafile(m_bytes).bits;
    }
    // The object table's size in the header (nHandles).
    Emf& Handles(std::uint16_t n) {
        std::memcpy(m_bytes.data() + 56, &n, 2);
        return *this;
    }
    void Put(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t> m_bytes;
};

// Builds the records of a Windows metafile whose window is 0..100 both ways.
class Wmf {
public:
    explicit Wmf(std::uint16_t objects = 16) {
        const std::uint16_t header[] = {1, 9, 0x300, 0, 0, objects, 0, 0, 0};  // METAHEADER
        for (std::uint16_t w : header) Put16(w);
    }
    Wmf& Record(std::uint16_t function, std::initializer_list<std::int16_t> params) {
        const std::uint32_t words = 3 + static_cast<std::uint32_t>(params.size());
        Put16(static_cast<std::uint16_t>(words));
        Put16(static_cast<std::uint16_t>(words >> 16));
        Put16(function);
        for (std::int16_t p : params) Put16(static_cast<std::uint16_t>(p));
        return *this;
    }
    MetafileBits Bits() {
        Record(0, {});
        MetafileBits bits;
        bits.enhanced = false;
        bits.records = m_bytes;
        bits.wmf_bounds = {0, 0, 100, 100};
        return bits;
    }

private:
    void Put16(std::uint16_t v) {
        m_bytes.push_back(static_cast<std::uint8_t>(v));
        m_bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace automenu::test
