#include "ui/TMetafile.h"

#include "ui/PlatformAccess.h"

namespace automenu {

namespace {

int ScreenPpi() { return HasPlatform() ? Platform().PixelsPerInch() : 96; }

}  // namespace

int TMetafile::Width() const {
    return Empty() ? 0 : MetafileNaturalSize(m_data, ScreenPpi()).cx;
}

int TMetafile::Height() const {
    return Empty() ? 0 : MetafileNaturalSize(m_data, ScreenPpi()).cy;
}

void TMetafile::Draw(platform::ICanvas& canvas, const TRect& rect) {
    if (Empty()) return;
    canvas.PlayMetafile(m_data.bits, {rect.left, rect.top, rect.right - 1, rect.bottom - 1});
}

void TMetafile::ReadData(std::span<const std::uint8_t> bytes) {
    LoadedMetafile data = ReadMetafile(bytes);
    m_data = std::move(data);
    Changed();
}

}  // namespace automenu
