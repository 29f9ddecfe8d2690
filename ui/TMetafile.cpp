#include "ui/TMetafile.h"

#include <algorithm>

#include "platform/PlatformAccess.h"

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
    if (Empty() || rect.IsEmpty()) return;
    const TSize dest{rect.Width(), rect.Height()};
    const TSize screen = VisiblePictureSize();
    if (!m_image_valid || m_image_dest != dest || m_image_screen != screen) {
        const TSize size{std::min(dest.cx, screen.cx), std::min(dest.cy, screen.cy)};
        m_image = canvas.RenderMetafile(m_data.bits, {0, 0, dest.cx - 1, dest.cy - 1}, size, screen);
        m_image_dest = dest;
        m_image_screen = screen;
        m_image_valid = true;
    }
    canvas.DrawImage(m_image, rect.left, rect.top);
}

void TMetafile::ReadData(std::span<const std::uint8_t> bytes) {
    LoadedMetafile data = ReadMetafile(bytes);
    m_data = std::move(data);
    m_image = {};
    m_image_valid = false;
    Changed();
}

}  // namespace automenu
