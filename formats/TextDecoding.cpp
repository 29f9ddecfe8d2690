#include "formats/TextDecoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace automenu {

namespace {

// 0x80..0x9F of Windows-1252. The five unassigned bytes map to the C1
// controls of the same value, as the Windows conversion does.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The length of the maximal subpart at p[0], where no valid sequence starts:
// how many of the `available` bytes begin a valid sequence, at least one. The
// bounds of the second byte exclude what DecodeUtf8 rejects after decoding
// (overlong forms, surrogates, code points past U+10FFFF).
std::size_t IllFormedLength(const std::uint8_t* p, std::size_t available) {
    const std::uint8_t b = p[0];
    std::size_t len;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 1;
    }
    std::size_t k = 1;
    for (; k < len && k < available; ++k) {
        if (p[k] < low || p[k] > high) break;
        low = 0x80;
        high = 0xBF;
    }
    return k;
}

// The position of the first byte above 0x7F at or after `pos`, or the size;
// ASCII is skipped eight bytes at a time.
std::size_t SkipAscii(std::string_view bytes, std::size_t pos) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    while (bytes.size() - pos >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p + pos, 8);
        if ((word & 0x8080808080808080ull) != 0) break;
        pos += 8;
    }
    while (pos < bytes.size() && p[pos] < 0x80) ++pos;
    return pos;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, char32_t& c) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + pos;
    const std::uint8_t b = p[0];
    if (b < 0x80) {
        c = b;
        return 1;
    }
    std::size_t len;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        c = b & 0x07;
    } else {
        return 0;  // continuation byte, overlong lead, or beyond U+10FFFF
    }
    if (bytes.size() - pos < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (p[k] & 0x3F);
    }
    // Overlong forms, surrogates and code points past the Unicode range.
    if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return len;
}

bool IsValidUtf8(std::string_view bytes) {
    char32_t c;
    std::size_t i = 0;
    while ((i = SkipAscii(bytes, i)) < bytes.size()) {
        const std::size_t len = DecodeUtf8(bytes, i, c);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

bool IsAscii(std::string_view bytes) { return SkipAscii(bytes, 0) == bytes.size(); }

std::size_t CompleteUtf8Length(std::string_view bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t k = 1; k <= 3 && k <= bytes.size(); ++k) {
        const std::size_t pos = bytes.size() - k;
        if ((p[pos] & 0xC0) == 0x80) continue;
        const std::size_t needed = p[pos] >= 0xF0 ? 4 : p[pos] >= 0xE0 ? 3 : 2;
        if (p[pos] >= 0xC2 && p[pos] <= 0xF4 && needed > k && IllFormedLength(p + pos, k) == k) return pos;
        break;
    }
    return bytes.size();
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (char ch : utf8) {
        const auto b = static_cast<std::uint8_t>(ch);
        // Each lead byte starts a character; one of four bytes needs a pair.
        if ((b & 0xC0) != 0x80) ++units;
        if (b >= 0xF0) ++units;
    }
    return units;
}

std::size_t Utf8PrefixOfUtf16Length(std::string_view utf8, std::size_t max_units) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        if ((b & 0xC0) == 0x80) continue;
        units += b >= 0xF0 ? 2 : 1;
        if (units > max_units) return i;
    }
    return utf8.size();
}

std::u16string Utf8ToUtf16(std::string_view utf8, char16_t replacement) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t len = DecodeUtf8(utf8, i, c);
        if (len == 0) {
            out += replacement;
            ++i;
            continue;
        }
        i += len;
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text, char32_t replacement) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = replacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::size_t ReplaceInvalidUtf8(std::span<char> text, char replacement) {
    const std::string_view bytes(text.data(), text.size());
    const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::size_t size = text.size();
    // The valid start, usually the whole text, is only read.
    std::size_t r = 0;
    while ((r = SkipAscii(bytes, r)) < size) {
        char32_t c;
        const std::size_t len = DecodeUtf8(bytes, r, c);
        if (len == 0) break;
        r += len;
    }
    // From the first ill-formed byte on, writes stay behind the read
    // position, so the bytes still to be read are the original ones.
    std::size_t w = r;
    while (r < size) {
        char32_t c;
        const std::size_t len = p[r] < 0x80 ? 1 : DecodeUtf8(bytes, r, c);
        if (len == 0) {
            r += IllFormedLength(p + r, size - r);
            text[w++] = replacement;
            continue;
        }
        for (std::size_t k = 0; k < len; ++k) text[w++] = text[r++];
    }
    return w;
}

std::string Utf16ToUtf8(std::string_view bytes, bool big_endian, std::size_t max_bytes, char32_t replacement) {
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto b = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        return big_endian ? (char32_t{a} << 8 | b) : (char32_t{b} << 8 | a);
    };
    const std::size_t units = bytes.size() / 2;
    std::string out;
    out.reserve(std::min(units, max_bytes));
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = replacement;
        }
        const std::size_t before = out.size();
        AppendUtf8(out, c);
        if (out.size() > max_bytes) {
            out.resize(before);
            break;
        }
    }
    return out;
}

char16_t Windows1252Unit(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t{byte};
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) AppendUtf8(out, Windows1252Unit(static_cast<unsigned char>(ch)));
    return out;
}

std::string DecodeCaptionBytes(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Windows1252ToUtf8(bytes);
}

}  // namespace automenu
