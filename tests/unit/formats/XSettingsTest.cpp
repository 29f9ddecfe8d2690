#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/XSettings.h"

namespace automenu::platform {
namespace {

// Builds the property's bytes in either byte order.
class Blob {
public:
    explicit Blob(bool msb_first, std::uint32_t count) : m_msb(msb_first) {
        m_bytes = {static_cast<std::uint8_t>(msb_first), 0, 0, 0};
        U32(7);  // serial
        U32(count);
    }
    Blob& Setting(std::uint8_t type, const std::string& name) {
        m_bytes.push_back(type);
        m_bytes.push_back(0);
        U16(static_cast<std::uint16_t>(name.size()));
        m_bytes.insert(m_bytes.end(), name.begin(), name.end());
        Pad();
        U32(0);  // last change serial
        return *this;
    }
    Blob& Integer(const std::string& name, std::int32_t v) {
        Setting(0, name).U32(static_cast<std::uint32_t>(v));
        return *this;
    }
    Blob& String(const std::string& name, const std::string& v) {
        Setting(1, name).U32(static_cast<std::uint32_t>(v.size()));
        m_bytes.insert(m_bytes.end(), v.begin(), v.end());
        Pad();
        return *this;
    }
    Blob& Color(const std::string& name) {
        Setting(2, name);
        m_bytes.insert(m_bytes.end(), 8, 0xFF);
        return *this;
    }
    Blob& U16(std::uint16_t v) { return Bytes(v, 2); }
    Blob& U32(std::uint32_t v) { return Bytes(v, 4); }
    std::vector<std::uint8_t> Cut(std::size_t n) const { return {m_bytes.begin(), m_bytes.begin() + n}; }
    std::vector<std::uint8_t> bytes() const { return m_bytes; }

private:
    Blob& Bytes(std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) m_bytes.push_back(static_cast<std::uint8_t>(v >> 8 * (m_msb ? n - 1 - i : i)));
        return *this;
    }
    void Pad() {
        while (m_bytes.size() % 4) m_bytes.push_back(0);
    }
    bool m_msb;
    std::vector<std::uint8_t> m_bytes;
};

TEST(XSettingsTest, FindsTheIntegerPastOtherSettingsInEitherByteOrder) {
    const std::string key = "Net/DoubleClickTime";
    for (const bool msb : {false, true}) {
        const Blob full = Blob(msb, 4).String("Net/ThemeName", "Adwaita").Color("Gtk/Color").Integer("Net/X", 1)
                              .Integer(key, 400);
        const struct {
            const char* name;
            std::vector<std::uint8_t> bytes;
            std::optional<std::int32_t> value;
        } cases[] = {
            {"present", full.bytes(), 400},
            {"absent", Blob(msb, 1).Integer("Net/CursorBlinkTime", 1200).bytes(), std::nullopt},
            {"cut in its value", full.Cut(full.bytes().size() - 2), std::nullopt},
            {"count larger than the data", Blob(msb, 0xFFFFFFFF).Integer("Net/X", 3).bytes(), std::nullopt},
            {"a string of the name", Blob(msb, 1).String(key, "400").bytes(), std::nullopt},
            {"unknown type before it", Blob(msb, 2).Setting(9, "X").Integer(key, 400).bytes(), std::nullopt},
            {"empty", {}, std::nullopt},
        };
        for (const auto& c : cases)
            EXPECT_EQ(FindXSettingsInteger(c.bytes, key), c.value) << c.name << (msb ? " (MSB first)" : "");
    }
}

}  // namespace
}  // namespace automenu::platform
