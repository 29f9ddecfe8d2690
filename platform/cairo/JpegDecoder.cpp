// libjpeg reports errors through its error manager, which must not return:
// it long-jumps back to the function that called the library, and those
// functions set the jump point first and hold nothing that needs destroying.
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <vector>

#include "formats/DibDecoder.h"
#include "platform/cairo/PictureDecoders.h"

namespace automenu::platform {

namespace {

// What libjpeg may hold at once: a progressive file keeps all its
// coefficients until its last scan; the file's check allows that much, and
// the rest is the decoder's own tables and rows.
constexpr long kMaxJpegMemory = static_cast<long>(kMaxJpegCoefficientBytes) + (16L << 20);

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer is also this one's
    std::jmp_buf jump;
};

[[noreturn]] void Fail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1); }

// Warnings are quiet, but a file that ends before its image does fails.
void Warn(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) Fail(cinfo);
}

void CheckScans(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) Fail(cinfo);
}

class JpegReader {
public:
    explicit JpegReader(std::span<const std::uint8_t> file) : m_file(file) {
        m_cinfo.err = jpeg_std_error(&m_errors.manager);
        m_errors.manager.error_exit = &Fail;
        m_errors.manager.emit_message = &Warn;
        m_progress.progress_monitor = &CheckScans;
    }
    ~JpegReader() {
        if (m_created) jpeg_destroy_decompress(&m_cinfo);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // Reads the headers and starts decompressing into 8-bit rows of four
    // bytes a pixel, only as wide as `visible_width` needs.
    bool Begin(int visible_width);
    // The rows within `out`'s size.
    bool ReadRows(std::uint8_t* row, PixelImage& out);

    std::uint32_t Width() const { return m_cinfo.image_width; }
    std::uint32_t Height() const { return m_cinfo.image_height; }
    std::uint32_t RowWidth() const { return m_cinfo.output_width; }

private:
    std::span<const std::uint8_t> m_file;
    jpeg_decompress_struct m_cinfo{};
    JpegErrors m_errors{};
    jpeg_progress_mgr m_progress{};
    bool m_created = false;
    bool m_cmyk = false;
};

bool JpegReader::Begin(int visible_width) {
    if (setjmp(m_errors.jump)) return false;
    jpeg_create_decompress(&m_cinfo);
    m_created = true;
    m_cinfo.mem->max_memory_to_use = kMaxJpegMemory;
    m_cinfo.progress = &m_progress;
    jpeg_mem_src(&m_cinfo, m_file.data(), static_cast<unsigned long>(m_file.size()));
    if (jpeg_read_header(&m_cinfo, TRUE) != JPEG_HEADER_OK) return false;
    if (!DibSizeAllowed(m_cinfo.image_width, m_cinfo.image_height)) return false;
    m_cmyk = m_cinfo.jpeg_color_space == JCS_CMYK || m_cinfo.jpeg_color_space == JCS_YCCK;
    m_cinfo.out_color_space = m_cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&m_cinfo);
    // Only the columns that can be seen go through the inverse transform.
    JDIMENSION x = 0, width = static_cast<JDIMENSION>(std::max(visible_width, 1));
    if (width < m_cinfo.output_width) jpeg_crop_scanline(&m_cinfo, &x, &width);
    return m_cinfo.output_components == 4;
}

bool JpegReader::ReadRows(std::uint8_t* row, PixelImage& out) {
    if (setjmp(m_errors.jump)) return false;
    // Adobe's CMYK files store each ink inverted.
    const bool inverted = m_cinfo.saw_Adobe_marker;
    while (m_cinfo.output_scanline < static_cast<JDIMENSION>(out.height)) {
        const JDIMENSION y = m_cinfo.output_scanline;
        JSAMPROW rows[] = {row};
        if (jpeg_read_scanlines(&m_cinfo, rows, 1) != 1) return false;
        std::uint32_t* line = out.pixels.data() + static_cast<std::size_t>(y) * out.width;
        for (int x = 0; x < out.width; ++x) {
            const std::uint8_t* p = row + 4 * static_cast<std::size_t>(x);
            if (!m_cmyk) {
                line[x] =
                    0xFF000000u | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
                continue;
            }
            const std::uint32_t k = inverted ? p[3] : 255u - p[3];
            auto ink = [&](std::uint8_t v) { return ((inverted ? v : 255u - v) * k + 127) / 255; };
            line[x] = PackArgb(255, ink(p[0]), ink(p[1]), ink(p[2]));
        }
    }
    // Rows below are not decoded: the file was found whole before
    // (ReadCompressedImageSize); destroying the decoder ends it.
    return true;
}

}  // namespace

bool DecodeJpegPart(std::span<const std::uint8_t> file, TSize visible, PixelImage& out) {
    JpegReader reader(file);
    if (!reader.Begin(visible.cx)) return false;
    PixelImage image;
    image.width = static_cast<int>(std::min<std::uint32_t>(reader.Width(), std::max(visible.cx, 1)));
    image.height = static_cast<int>(std::min<std::uint32_t>(reader.Height(), std::max(visible.cy, 1)));
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(reader.RowWidth()) * 4);
    if (!reader.ReadRows(row.data(), image)) return false;
    out = std::move(image);
    return true;
}

}  // namespace automenu::platform
