#include "formats/XSettings.h"

#include "formats/ByteReader.h"

namespace automenu {

namespace {

enum SettingType : std::uint8_t { kInteger = 0, kString = 1, kColor = 2 };

// Padding to the next multiple of four.
std::size_t Pad4(std::size_t n) { return (4 - n % 4) % 4; }

}  // namespace

std::optional<std::int32_t> FindXSettingsInteger(std::span<const std::uint8_t> data, std::string_view name) {
    try {
        ByteReader r(data);
        const bool msb_first = r.U8() == 1;
        r.Skip(3);
        auto u16 = [&] {
            const std::uint16_t v = r.U16();
            return msb_first ? static_cast<std::uint16_t>(v >> 8 | v << 8) : v;
        };
        auto u32 = [&] {
            const std::uint32_t v = r.U32();
            return msb_first ? (v >> 24) | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | (v << 24) : v;
        };
        u32();  // serial
        const std::uint32_t count = u32();
        // Every setting takes at least 12 bytes, so a damaged count ends at
        // the data's end, not after billions of rounds.
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t type = r.U8();
            r.Skip(1);
            const std::uint16_t name_length = u16();
            const auto setting_name = r.Take(name_length);
            r.Skip(Pad4(name_length));
            u32();  // last change serial
            const bool wanted = std::string_view(reinterpret_cast<const char*>(setting_name.data()),
                                                 setting_name.size()) == name;
            switch (type) {
                case kInteger: {
                    const auto value = static_cast<std::int32_t>(u32());
                    if (wanted) return value;
                    break;
                }
                case kString: {
                    const std::uint32_t length = u32();
                    r.Skip(length);
                    r.Skip(Pad4(length));
                    break;
                }
                case kColor:
                    r.Skip(8);
                    break;
                default:
                    return std::nullopt;  // the size of what follows is unknown
            }
            if (wanted) return std::nullopt;
        }
    } catch (const ReadPastEnd&) {
    }
    return std::nullopt;
}

}  // namespace automenu
