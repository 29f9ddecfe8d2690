#include "ui/TFont.h"

#include <cstdint>
#include <map>

#include "ui/PlatformAccess.h"

namespace automenu {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t p = static_cast<std::int64_t>(a) * b;
    bool negative = (p < 0) != (c < 0);
    std::int64_t ap = p < 0 ? -p : p;
    std::int64_t ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t q = (ap + ac / 2) / ac;
    return static_cast<int>(negative ? -q : q);
}

namespace {
int ScreenPixelsPerInch() {
    static const int ppi = HasPlatform() ? Platform().PixelsPerInch() : 96;
    return ppi;
}
}  // namespace

TFont::TFont() : m_color(clWindowText), m_pixels_per_inch(ScreenPixelsPerInch()) {
    m_description.height = -MulDiv(8, m_pixels_per_inch, 72);
    m_description.name = "MS Sans Serif";
}

void TFont::ChangeDescription(const FontDescription& d) {
    if (d == m_description) return;
    m_description = d;
    m_handle.reset();
    if (OnChange) OnChange();
}

void TFont::SetHeight(int height) {
    FontDescription d = m_description;
    d.height = height;
    ChangeDescription(d);
}

int TFont::Size() const { return -MulDiv(m_description.height, 72, m_pixels_per_inch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, m_pixels_per_inch, 72)); }

void TFont::SetName(std::string_view name) {
    if (name.empty()) return;
    FontDescription d = m_description;
    d.name = std::string(name.substr(0, 31));
    ChangeDescription(d);
}

void TFont::SetStyle(TFontStyles style) {
    FontDescription d = m_description;
    d.style = style;
    ChangeDescription(d);
}

void TFont::SetPitch(TFontPitch pitch) {
    FontDescription d = m_description;
    d.pitch = pitch;
    ChangeDescription(d);
}

void TFont::SetCharset(std::uint8_t charset) {
    FontDescription d = m_description;
    d.charset = charset;
    ChangeDescription(d);
}

void TFont::SetColor(TColor color) {
    if (color == m_color) return;
    m_color = color;
    if (OnChange) OnChange();
}

void TFont::Assign(const TFont& other) {
    bool changed = other.m_description != m_description || other.m_color != m_color;
    m_description = other.m_description;
    m_color = other.m_color;
    m_handle = other.m_handle;
    if (changed && OnChange) OnChange();
}

const platform::IFont& TFont::Handle() const {
    if (!m_handle) m_handle = Platform().CreateFont(m_description);
    return *m_handle;
}

}  // namespace automenu
