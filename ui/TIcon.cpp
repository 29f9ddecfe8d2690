#include "ui/TIcon.h"

#include "base/Exceptions.h"
#include "platform/PlatformAccess.h"

namespace automenu {

namespace {

TSize LargeIconSize() { return HasPlatform() ? Platform().LargeIconSize() : TSize{32, 32}; }
int ScreenColorBits() { return HasPlatform() ? Platform().ScreenColorBits() : 32; }
bool DecodePng(std::span<const std::uint8_t> png, PixelImage& out) {
    return HasPlatform() && Platform().DecodePng(png, out);
}

}  // namespace

int TIcon::Width() const { return m_built ? m_built->size.cx : LargeIconSize().cx; }
int TIcon::Height() const { return m_built ? m_built->size.cy : LargeIconSize().cy; }

void TIcon::Draw(platform::ICanvas& canvas, const TRect& rect) {
    if (Empty()) return;
    canvas.DrawImage(Image(), rect.left, rect.top);
}

const PixelImage& TIcon::Image() {
    if (!m_built) {
        const TSize requested = (m_requested.cx != 0 || m_requested.cy != 0) ? m_requested : LargeIconSize();
        m_built = BuildIcon(m_data, requested, IconColourLimit(ScreenColorBits()), VisiblePictureSize(), &DecodePng);
    }
    return m_built->image;
}

void TIcon::ReadData(std::span<const std::uint8_t> bytes) {
    ReadIconHeader(bytes);  // throws before anything changes
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    m_data.swap(data);
    m_built.reset();
    Changed();
}

void TIcon::ThrowOutOfMemory() const { throw EOutOfResources("Out of system resources"); }

}  // namespace automenu
