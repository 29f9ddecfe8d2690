// Text as metafile records hold it, made UTF-8, and the places their
// advance arrays give each character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/metafile/MetafileMatrix.h"

namespace automenu::platform {

// UTF-16LE text of at most `chars` units, ending at the first NUL unit.
std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes, std::size_t chars);
// Windows-1252 text, ending at the first NUL.
std::string AnsiToUtf8(std::span<const std::uint8_t> bytes);

enum : std::uint32_t { ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_GLYPH_INDEX = 0x10, ETO_PDY = 0x2000 };

// A text record's string, by character: characters (UTF-8), or with
// ETO_GLYPH_INDEX glyph indices of the selected font; and the advances the
// record gives for each, in logical units (none when it gives none).
struct MfTextString {
    std::string utf8;
    std::vector<std::uint16_t> glyphs;
    bool glyph_indices = false;
    std::vector<double> dx, dy;  // dy only with ETO_PDY: up along the font's vertical
    std::size_t Count() const;   // characters or glyphs
};

// The string of a text record: `str` holds UTF-16LE units (`wide`) or
// Windows-1252 bytes, up to the first NUL; `advances` the record's array
// of signed little-endian integers `advance_size` bytes wide, one per unit
// (two with ETO_PDY), or nothing. A surrogate pair is one character whose
// advance is the pair's. An array shorter than the string is not used.
MfTextString DecodeTextString(std::span<const std::uint8_t> str, bool wide, std::uint32_t options,
                              std::span<const std::uint8_t> advances, std::size_t advance_size);

// Where a run's characters start, from its reference point in device
// pixels (x along the baseline, y down), as the advances dx (and dy) in
// logical units place them under the logical-to-device matrix `m`: one
// place per advance and, last, the run's end.
struct MfTextPlace {
    double x = 0, y = 0;
};
std::vector<MfTextPlace> PlaceCharacters(std::span<const double> dx, std::span<const double> dy, const MfMatrix& m);

}  // namespace automenu::platform
