#include "formats/DibDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace automenu {

namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

// Extracts one channel selected by a bit-field mask, scaled to 0..255. The
// values of the first 256 field values are worked out once, so a pixel costs
// a table look-up.
class Channel {
public:
    explicit Channel(std::uint32_t mask) : m_mask(mask) {
        if (mask == 0) return;  // every value reads 0
        m_shift = std::countr_zero(mask);
        m_bits = std::popcount(mask >> m_shift);
        for (std::uint32_t v = 0; v <= std::min(mask >> m_shift, 255u); ++v) m_table[v] = Scale(v);
    }
    std::uint32_t operator()(std::uint32_t px) const {
        const std::uint32_t v = (px & m_mask) >> m_shift;
        return v < m_table.size() ? m_table[v] : Scale(v);
    }

private:
    // A field of more than eight bits keeps its top eight; a shorter one is
    // stretched to the full range.
    std::uint32_t Scale(std::uint32_t v) const {
        if (m_bits > 8) return (v >> (m_bits - 8)) & 0xFF;
        const std::uint32_t max = (1u << m_bits) - 1;
        return (v * 255 + max / 2) / max;
    }

    std::uint32_t m_mask = 0;
    int m_shift = 0;
    int m_bits = 0;
    std::array<std::uint32_t, 256> m_table{};
};

std::uint32_t Load32(const std::uint8_t* p) {
    return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

std::uint32_t PaletteColour(const std::vector<std::uint32_t>& palette, std::uint32_t index) {
    if (index >= palette.size()) return kOpaqueBlack;
    return kOpaqueBlack | palette[index];
}

// Writes index runs with clipping; an RLE stream is attacker data. The
// image may be only the top part of a taller bitmap.
struct RleTarget {
    PixelImage& image;
    const std::vector<std::uint32_t>& palette;
    int full_height = 0;  // the bitmap's rows, of which the image holds the top ones
    std::int64_t x = 0;   // wide enough for any run of runs past the row's end
    int y = 0;            // rows counted from the bottom, as the stream does

    bool Done() const { return y >= full_height; }
    // The image row of stream row y, or -1 when it is not held.
    int Row() const {
        const int row = full_height - 1 - y;
        return y >= 0 && row >= 0 && row < image.height ? row : -1;
    }
    void Put(std::uint32_t index) {
        const int row = Row();
        if (row >= 0 && x >= 0 && x < image.width)
            image.pixels[static_cast<std::size_t>(row) * image.width + x] = PaletteColour(palette, index);
        ++x;
    }
    // `count` pixels of one index, clipped to the row.
    void Fill(std::uint32_t index, int count) {
        const int row = Row();
        if (row >= 0 && x < image.width) {
            const std::int64_t from = std::max<std::int64_t>(x, 0);
            const std::int64_t to = std::min<std::int64_t>(x + count, image.width);
            if (from < to) {
                std::uint32_t* dst = image.pixels.data() + static_cast<std::size_t>(row) * image.width;
                std::fill(dst + from, dst + to, PaletteColour(palette, index));
            }
        }
        x += count;
    }
};

void DecodeRle(ByteReader r, bool four_bit, RleTarget& t) {
    try {
        while (!t.Done()) {
            std::uint8_t count = r.U8();
            std::uint8_t value = r.U8();
            if (count > 0) {
                if (!four_bit || (value >> 4) == (value & 0x0F)) {
                    t.Fill(four_bit ? (value & 0x0F) : value, count);
                } else {
                    for (int i = 0; i < count && t.x < t.image.width; ++i)
                        t.Put((i & 1) ? (value & 0x0F) : (value >> 4));
                }
                continue;
            }
            switch (value) {
            case 0:  // end of line
                t.x = 0;
                ++t.y;
                break;
            case 1:  // end of bitmap
                return;
            case 2: {  // delta
                int dx = r.U8();
                int dy = r.U8();
                t.x += dx;
                t.y += dy;
                break;
            }
            default: {  // absolute run, padded to a 16-bit boundary
                std::size_t bytes = four_bit ? (value + 1u) / 2u : value;
                auto data = r.Take(bytes);
                for (int i = 0; i < value; ++i) {
                    std::uint8_t b = data[four_bit ? i / 2 : i];
                    t.Put(four_bit ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
                }
                if (bytes & 1) r.Skip(1);
                break;
            }
            }
        }
    } catch (const ReadPastEnd&) {
        // A stream that ends early leaves the rest as it is.
    }
}

}  // namespace

DibHeader ReadDibHeader(ByteReader& r) {
    DibHeader h;
    h.size = r.U32();
    if (h.size == 12) {
        h.core = true;
        h.width = r.U16();
        h.height = r.U16();
        h.planes = r.U16();
        h.bit_count = r.U16();
        return h;
    }
    if (h.size < 4) throw ReadPastEnd();
    ByteReader rest(r.Take(h.size - 4));
    // Fields a short header lacks stay zero.
    auto u32 = [&rest]() -> std::uint32_t {
        return rest.Remaining() >= 4 ? rest.U32() : (rest.Skip(rest.Remaining()), 0u);
    };
    auto u16 = [&rest]() -> std::uint16_t {
        return rest.Remaining() >= 2 ? rest.U16() : (rest.Skip(rest.Remaining()), 0);
    };
    h.width = static_cast<std::int32_t>(u32());
    h.height = static_cast<std::int32_t>(u32());
    h.planes = u16();
    h.bit_count = u16();
    h.compression = u32();
    h.size_image = u32();
    u32();  // horizontal resolution
    u32();  // vertical resolution
    h.clr_used = u32();
    u32();  // important colours
    if (h.size >= 52) {
        h.red_mask = u32();
        h.green_mask = u32();
        h.blue_mask = u32();
    }
    if (h.size >= 56) h.alpha_mask = u32();
    return h;
}

void ReadDibMasks(ByteReader& r, DibHeader& h) {
    if (h.size == 40 && (h.bit_count == 16 || h.bit_count == 32) && h.compression == BI_BITFIELDS) {
        h.red_mask = r.U32();
        h.green_mask = r.U32();
        h.blue_mask = r.U32();
    }
}

std::uint32_t DibColourCount(const DibHeader& h) {
    if (h.clr_used != 0) return h.clr_used;
    if (h.bit_count <= 8) return 1u << h.bit_count;
    return 0;
}

std::vector<std::uint32_t> ReadDibPalette(ByteReader& r, const DibHeader& h, std::uint32_t count) {
    std::size_t entry = h.core ? 3 : 4;
    auto total = checked_mul<std::size_t>(count, entry);
    if (!total) throw ReadPastEnd();
    auto bytes = r.Take(*total);  // checks the size before anything is allocated
    std::vector<std::uint32_t> palette;
    std::size_t keep = count < 256 ? count : 256;
    palette.reserve(keep);
    for (std::size_t i = 0; i < keep; ++i) {
        const std::uint8_t* e = bytes.data() + i * entry;
        palette.push_back((std::uint32_t{e[2]} << 16) | (std::uint32_t{e[1]} << 8) | e[0]);
    }
    return palette;
}

DibInfo ReadDibInfo(ByteReader& r) {
    DibInfo info;
    info.header = ReadDibHeader(r);
    ReadDibMasks(r, info.header);
    info.palette = ReadDibPalette(r, info.header, DibColourCount(info.header));
    return info;
}

std::uint64_t DibStride(std::int64_t width, int bit_count) {
    if (width < 0 || bit_count <= 0) return 0;
    std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bit_count);
    return ((bits + 31) / 32) * 4;
}

bool DibSizeAllowed(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) return false;
    if (width > kMaxImageSide || height > kMaxImageSide) return false;
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= kMaxImagePixels;
}

bool DecodeDib(const DibInfo& info, std::span<const std::uint8_t> bits, PixelImage& out, DibAlpha alpha) {
    return DecodeDibPart(info, bits, {kMaxImageSide, kMaxImageSide}, out, alpha);
}

bool DecodeDibPart(const DibInfo& info, std::span<const std::uint8_t> bits, TSize part, PixelImage& out,
                   DibAlpha alpha) {
    const DibHeader& h = info.header;
    const std::int64_t width = h.width;
    const bool top_down = h.height < 0;
    const std::int64_t height = top_down ? -static_cast<std::int64_t>(h.height) : h.height;
    if (!DibSizeAllowed(width, height)) return false;

    const int bpp = h.bit_count;
    switch (h.compression) {
    case BI_RGB:
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
        break;
    case BI_RLE8:
        if (bpp != 8 || top_down) return false;
        break;
    case BI_RLE4:
        if (bpp != 4 || top_down) return false;
        break;
    case BI_BITFIELDS:
        if (bpp != 16 && bpp != 32) return false;
        break;
    default:
        return false;
    }

    // Only the part kept is allocated and decoded.
    const std::int64_t kept_width = std::clamp<std::int64_t>(part.cx, 1, width);
    const std::int64_t kept_height = std::clamp<std::int64_t>(part.cy, 1, height);
    PixelImage img;
    img.width = static_cast<int>(kept_width);
    img.height = static_cast<int>(kept_height);
    if (h.compression == BI_RLE8 || h.compression == BI_RLE4) {
        img.pixels.assign(static_cast<std::size_t>(kept_width * kept_height), kOpaqueBlack);
        RleTarget target{img, info.palette, static_cast<int>(height)};
        DecodeRle(ByteReader(bits), h.compression == BI_RLE4, target);
        out = std::move(img);
        return true;
    }

    const std::uint64_t stride = DibStride(width, bpp);
    const Channel red(h.compression == BI_BITFIELDS ? h.red_mask : (bpp == 16 ? 0x7C00u : 0xFF0000u));
    const Channel green(h.compression == BI_BITFIELDS ? h.green_mask : (bpp == 16 ? 0x03E0u : 0x00FF00u));
    const Channel blue(h.compression == BI_BITFIELDS ? h.blue_mask : (bpp == 16 ? 0x001Fu : 0x0000FFu));
    const bool use_alpha = alpha == DibAlpha::FromData && bpp == 32;
    img.pixels.resize(static_cast<std::size_t>(kept_width * kept_height));
    bool any_alpha = false;

    // One loop per pixel format, so the per-pixel work has no branching on it.
    // Bottom-up, the kept top rows are the last rows of the data.
    auto rows = [&](auto&& decode_row) {
        for (std::int64_t dest_row = 0; dest_row < kept_height; ++dest_row) {
            const std::int64_t row = top_down ? dest_row : height - 1 - dest_row;
            std::uint32_t* dst = img.pixels.data() + dest_row * kept_width;
            const std::uint64_t start = static_cast<std::uint64_t>(row) * stride;
            if (start + stride > bits.size()) {
                std::fill(dst, dst + kept_width, kOpaqueBlack);  // missing rows read as black
                continue;
            }
            decode_row(bits.data() + start, dst);
        }
    };
    const auto& pal = info.palette;
    switch (bpp) {
    case 1:
        rows([&](const std::uint8_t* src, std::uint32_t* dst) {
            for (std::int64_t x = 0; x < kept_width; ++x)
                dst[x] = PaletteColour(pal, (src[x >> 3] >> (7 - (x & 7))) & 1);
        });
        break;
    case 4:
        rows([&](const std::uint8_t* src, std::uint32_t* dst) {
            for (std::int64_t x = 0; x < kept_width; ++x)
                dst[x] = PaletteColour(pal, (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4));
        });
        break;
    case 8: {
        std::uint32_t lut[256];
        for (int i = 0; i < 256; ++i) lut[i] = PaletteColour(pal, static_cast<std::uint32_t>(i));
        rows([&](const std::uint8_t* src, std::uint32_t* dst) {
            for (std::int64_t x = 0; x < kept_width; ++x) dst[x] = lut[src[x]];
        });
        break;
    }
    case 16:
        rows([&](const std::uint8_t* src, std::uint32_t* dst) {
            for (std::int64_t x = 0; x < kept_width; ++x) {
                const std::uint32_t v = src[2 * x] | (std::uint32_t{src[2 * x + 1]} << 8);
                dst[x] = PackArgb(255, red(v), green(v), blue(v));
            }
        });
        break;
    case 24:
        rows([&](const std::uint8_t* src, std::uint32_t* dst) {
            std::int64_t x = 0;
            if constexpr (std::endian::native == std::endian::little) {
                // Four pixels from three words: B G R B | G R B G | R B G R.
                for (; x + 4 <= kept_width; x += 4, src += 12) {
                    std::uint32_t a, b, c;
                    std::memcpy(&a, src, 4);
                    std::memcpy(&b, src + 4, 4);
                    std::memcpy(&c, src + 8, 4);
                    dst[x] = kOpaqueBlack | (a & 0xFFFFFF);
                    dst[x + 1] = kOpaqueBlack | (a >> 24) | ((b & 0xFFFF) << 8);
                    dst[x + 2] = kOpaqueBlack | (b >> 16) | ((c & 0xFF) << 16);
                    dst[x + 3] = kOpaqueBlack | (c >> 8);
                }
            }
            for (; x < kept_width; ++x, src += 3)
                dst[x] = kOpaqueBlack | (std::uint32_t{src[2]} << 16) | (std::uint32_t{src[1]} << 8) | src[0];
        });
        break;
    default:  // 32
        if (h.compression == BI_RGB && !use_alpha) {
            rows([&](const std::uint8_t* src, std::uint32_t* dst) {
                for (std::int64_t x = 0; x < kept_width; ++x, src += 4)
                    dst[x] = kOpaqueBlack | (std::uint32_t{src[2]} << 16) | (std::uint32_t{src[1]} << 8) | src[0];
            });
            break;
        }
        if (use_alpha) {
            rows([&](const std::uint8_t* src, std::uint32_t* dst) {
                for (std::int64_t x = 0; x < kept_width; ++x, src += 4) {
                    const std::uint32_t v = Load32(src);
                    const std::uint32_t a = v >> 24;
                    if (a != 255) any_alpha = true;
                    dst[x] = PackArgb(a, red(v), green(v), blue(v));
                }
            });
            break;
        }
        rows([&](const std::uint8_t* src, std::uint32_t* dst) {
            for (std::int64_t x = 0; x < kept_width; ++x, src += 4) {
                const std::uint32_t v = Load32(src);
                dst[x] = PackArgb(255, red(v), green(v), blue(v));
            }
        });
        break;
    }
    img.has_alpha = any_alpha;
    out = std::move(img);
    return true;
}

}  // namespace automenu
