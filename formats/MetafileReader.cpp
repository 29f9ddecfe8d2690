#include "formats/MetafileReader.h"

#include <limits>

#include "base/Exceptions.h"
#include "formats/ByteReader.h"

namespace automenu {


namespace {

constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kEmfHeaderSize = 100;
constexpr std::size_t kPlaceableHeaderSize = 22;
constexpr std::size_t kMinEmrHeaderSize = 88;  // EMR_HEADER without the later extensions
constexpr std::size_t kMetaHeaderSize = 18;

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic("Metafile is not valid"); }

LoadedMetafile ReadEnhanced(std::span<const std::uint8_t> bytes) {
    const std::uint32_t total = ByteReader(bytes.subspan(48, 4)).U32();
    // The rest is read whole up to the stated size.
    if (total < kEmfHeaderSize || total > bytes.size()) throw EReadError("Stream read error");
    auto records = bytes.subspan(0, total);

    // What the platform refuses when it takes the bits over.
    ByteReader h(records);
    h.Skip(4);
    const std::uint32_t header_size = h.U32();
    if (header_size < kMinEmrHeaderSize || header_size > total || header_size % 4 != 0) InvalidMetafile();

    LoadedMetafile m;
    h.Seek(24);
    const std::int32_t left = h.I32(), top = h.I32(), right = h.I32(), bottom = h.I32();
    m.mm_width = static_cast<int>(static_cast<std::int64_t>(right) - left);
    m.mm_height = static_cast<int>(static_cast<std::int64_t>(bottom) - top);
    m.bits.emf_frame = {left, top, right, bottom};
    h.Seek(72);
    m.bits.emf_device_px.cx = h.I32();
    m.bits.emf_device_px.cy = h.I32();
    m.bits.emf_device_mm.cx = h.I32();
    m.bits.emf_device_mm.cy = h.I32();
    m.inch = 0;
    m.bits.enhanced = true;
    m.bits.records.assign(records.begin(), records.end());
    return m;
}

LoadedMetafile ReadPlaceable(std::span<const std::uint8_t> bytes) {
    // A plain read: a file shorter than the header is simply not valid.
    if (bytes.size() < kPlaceableHeaderSize) InvalidMetafile();
    ByteReader r(bytes);
    const std::uint32_t key = r.U32();
    r.U16();  // handle
    const std::int16_t left = r.I16(), top = r.I16(), right = r.I16(), bottom = r.I16();
    int inch = r.U16();
    r.U32();  // reserved
    const std::uint16_t checksum = r.U16();
    std::uint16_t sum = 0;
    ByteReader words(bytes.subspan(0, 20));
    for (int i = 0; i < 10; ++i) sum ^= words.U16();
    if (key != kPlaceableKey || checksum != sum) InvalidMetafile();
    if (inch == 0) inch = 96;

    // The records must start with a METAHEADER the platform accepts.
    auto records = bytes.subspan(kPlaceableHeaderSize);
    if (records.size() < kMetaHeaderSize) InvalidMetafile();
    ByteReader mh(records);
    const std::uint16_t type = mh.U16();
    const std::uint16_t header_words = mh.U16();
    if ((type != 1 && type != 2) || header_words != 9) InvalidMetafile();

    LoadedMetafile m;
    m.inch = inch;
    m.mm_width = MulDiv(right - left, 2540, inch);
    m.mm_height = MulDiv(bottom - top, 2540, inch);
    m.bits.enhanced = false;
    m.bits.wmf_bounds = {left, top, right, bottom};
    m.bits.records.assign(records.begin(), records.end());
    return m;
}

}  // namespace

LoadedMetafile ReadMetafile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kEmfHeaderSize) {
        ByteReader r(bytes);
        const std::uint32_t type = r.U32();
        r.Seek(40);
        if (type == 1 && r.U32() == kEmfSignature) return ReadEnhanced(bytes);
    }
    return ReadPlaceable(bytes);
}

TSize MetafileNaturalSize(const LoadedMetafile& m, int pixels_per_inch) {
    if (m.inch != 0)
        return {MulDiv(m.mm_width, pixels_per_inch, 2540), MulDiv(m.mm_height, pixels_per_inch, 2540)};
    // Millimetres times 100 can leave the int range of MulDiv: refuse then.
    auto hundredths = [](int mm) {
        const std::int64_t v = std::int64_t{mm} * 100;
        return (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) ? 0 : static_cast<int>(v);
    };
    const MetafileBits& b = m.bits;
    return {MulDiv(m.mm_width, b.emf_device_px.cx, hundredths(b.emf_device_mm.cx)),
            MulDiv(m.mm_height, b.emf_device_px.cy, hundredths(b.emf_device_mm.cy))};
}

}  // namespace automenu
