// libpng reports errors by a long jump: the functions that call it set the
// jump point first and hold nothing that needs destroying.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "formats/DibDecoder.h"
#include "platform/cairo/PictureDecoders.h"

namespace automenu::platform {

namespace {

struct PngInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

void ReadInput(png_structp png, png_bytep out, std::size_t length) {
    auto* in = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > in->size - in->pos) png_error(png, "the file ends early");
    std::memcpy(out, in->data + in->pos, length);
    in->pos += length;
}

void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Warn(png_structp, png_const_charp) {}

// The read and info structures, destroyed together.
class PngReader {
public:
    explicit PngReader(std::span<const std::uint8_t> file) : m_input{file.data(), file.size(), 0} {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &Fail, &Warn);
        if (m_png) m_info = png_create_info_struct(m_png);
    }
    ~PngReader() { png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Reads up to the pixels and asks for 8-bit BGRA rows; false on an error.
    bool Begin();
    // Reads the rows within `out`'s size (and what comes before them).
    bool ReadRows(std::uint8_t* row, PixelImage& out);

    std::uint32_t Width() const { return m_width; }
    std::uint32_t Height() const { return m_height; }
    bool Interlaced() const { return m_interlaced; }

private:
    PngInput m_input;
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    bool m_interlaced = false;
};

bool PngReader::Begin() {
    if (!m_png || !m_info) return false;
    if (setjmp(png_jmpbuf(m_png))) return false;
    png_set_read_fn(m_png, &m_input, &ReadInput);
    png_set_user_limits(m_png, kMaxImageSide, kMaxImageSide);
    png_read_info(m_png, m_info);
    m_width = png_get_image_width(m_png, m_info);
    m_height = png_get_image_height(m_png, m_info);
    m_interlaced = png_get_interlace_type(m_png, m_info) != PNG_INTERLACE_NONE;
    png_set_expand(m_png);  // palettes, small greys and transparency chunks to whole channels
    png_set_scale_16(m_png);
    png_set_gray_to_rgb(m_png);
    png_set_bgr(m_png);
    png_set_filler(m_png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(m_png, m_info);
    return png_get_rowbytes(m_png, m_info) == static_cast<std::size_t>(m_width) * 4;
}

// One row of straight BGRA into premultiplied pixels at (x0, y), every
// `step` pixels; notes whether any pixel is not opaque.
void StoreRow(const std::uint8_t* row, std::uint32_t count, std::uint32_t x0, std::uint32_t step, std::uint32_t y,
              PixelImage& out) {
    if (y >= static_cast<std::uint32_t>(out.height)) return;
    std::uint32_t* line = out.pixels.data() + static_cast<std::size_t>(y) * out.width;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t x = x0 + static_cast<std::uint64_t>(i) * step;
        if (x >= static_cast<std::uint32_t>(out.width)) break;
        const std::uint8_t* p = row + 4 * static_cast<std::size_t>(i);
        if (p[3] != 0xFF) out.has_alpha = true;
        line[x] = PackArgb(p[3], p[2], p[1], p[0]);
    }
}

bool PngReader::ReadRows(std::uint8_t* row, PixelImage& out) {
    if (setjmp(png_jmpbuf(m_png))) return false;
    // Rows below the part kept are never inflated: the file was found whole
    // before (ReadCompressedImageSize), and they change nothing above them.
    const auto kept = static_cast<std::uint32_t>(out.height);
    if (!m_interlaced) {
        for (std::uint32_t y = 0; y < kept; ++y) {
            png_read_row(m_png, row, nullptr);
            StoreRow(row, m_width, 0, 1, y, out);
        }
        return true;
    }
    // Adam7: seven reduced images, each placed on its own grid; every pass
    // but the last is read whole to reach the next.
    for (int pass = 0; pass < 7; ++pass) {
        const std::uint32_t cols = PNG_PASS_COLS(m_width, pass), rows = PNG_PASS_ROWS(m_height, pass);
        if (cols == 0 || rows == 0) continue;
        for (std::uint32_t r = 0; r < rows; ++r) {
            const std::uint32_t y = PNG_ROW_FROM_PASS_ROW(r, pass);
            if (pass == 6 && y >= kept) break;
            png_read_row(m_png, row, nullptr);
            StoreRow(row, cols, PNG_COL_FROM_PASS_COL(0, pass), 1u << PNG_PASS_COL_SHIFT(pass), y, out);
        }
    }
    return true;
}

}  // namespace

bool DecodePngPart(std::span<const std::uint8_t> file, TSize visible, PixelImage& out) {
    PngReader reader(file);
    if (!reader.Begin()) return false;
    const std::uint32_t width = reader.Width(), height = reader.Height();
    if (!DibSizeAllowed(width, height)) return false;
    PixelImage image;
    image.width = static_cast<int>(std::min<std::uint32_t>(width, std::max(visible.cx, 1)));
    image.height = static_cast<int>(std::min<std::uint32_t>(height, std::max(visible.cy, 1)));
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
    if (!reader.ReadRows(row.data(), image)) return false;
    out = std::move(image);
    return true;
}

}  // namespace automenu::platform
