#include "platform/metafile/MetafileText.h"

#include <algorithm>
#include <string_view>

#include "formats/TextDecoding.h"

namespace automenu::platform {

std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, std::size_t chars) {
    // The text ends at the first NUL unit, or after chars units.
    const std::size_t units = std::min(chars, bytes.size() / 2);
    std::size_t n = 0;
    while (n < units && (bytes[2 * n] | bytes[2 * n + 1]) != 0) ++n;
    return automenu::Utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), 2 * n), false);
}

std::string AnsiToUtf8(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Windows1252ToUtf8(text.substr(0, text.find('\0')));
}

std::size_t MfTextString::Count() const {
    if (glyph_indices) return glyphs.size();
    std::size_t n = 0;
    for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

namespace {

double SignedLittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < size; ++i) v |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    if (size == 2) return static_cast<std::int16_t>(v);
    return static_cast<std::int32_t>(v);
}

}  // namespace

MfTextString DecodeTextString(std::span<const std::uint8_t> str, bool wide, std::uint32_t options,
                              std::span<const std::uint8_t> advances, std::size_t advance_size) {
    MfTextString s;
    s.glyph_indices = (options & ETO_GLYPH_INDEX) != 0;
    const bool pdy = (options & ETO_PDY) != 0;
    const std::size_t unit_size = wide ? 2 : 1;
    const std::size_t units = str.size() / unit_size;
    auto unit = [&](std::size_t i) -> std::uint16_t {
        return wide ? static_cast<std::uint16_t>(str[2 * i] | str[2 * i + 1] << 8) : str[i];
    };
    const std::size_t per_unit = (pdy ? 2 : 1) * advance_size;
    const bool with_advances = per_unit > 0 && advances.size() / per_unit >= units;
    auto advance = [&](std::size_t i, std::size_t which) {
        return SignedLittleEndian(advances, i * per_unit + which * advance_size, advance_size);
    };
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint16_t u = unit(i);
        std::size_t used = 1;
        if (s.glyph_indices) {
            s.glyphs.push_back(u);
        } else {
            if (u == 0) break;
            const bool pair =
                wide && u >= 0xD800 && u < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000;
            used = pair ? 2 : 1;
            s.utf8 += wide ? Utf16ToUtf8(str.subspan(2 * i, 2 * used), used) : AnsiToUtf8(str.subspan(i, 1));
        }
        if (with_advances) {
            double dx = 0, dy = 0;
            for (std::size_t k = i; k < i + used; ++k) {
                dx += advance(k, 0);
                if (pdy) dy += advance(k, 1);
            }
            s.dx.push_back(dx);
            if (pdy) s.dy.push_back(dy);
        }
        i += used - 1;
    }
    return s;
}

std::vector<MfTextPlace> PlaceCharacters(std::span<const double> dx, std::span<const double> dy, const MfMatrix& m) {
    std::vector<MfTextPlace> places;
    places.reserve(dx.size() + 1);
    // Summed in logical units, then transformed, so rounding does not add up.
    double lx = 0, ly = 0;
    for (std::size_t i = 0; i <= dx.size(); ++i) {
        double x = lx, y = ly;
        m.TransformDistance(x, y);
        places.push_back({x, y});
        if (i == dx.size()) break;
        lx += dx[i];
        // The font's vertical points up in logical units.
        if (i < dy.size()) ly -= dy[i];
    }
    return places;
}

}  // namespace automenu::platform
