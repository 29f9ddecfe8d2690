#include "ui/TFont.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <vector>

#include "formats/TextDecoding.h"
#include "platform/PlatformAccess.h"

namespace automenu {

int ScreenPixelsPerInch() {
    static int ppi = 0;
    if (ppi == 0 && HasPlatform()) ppi = Platform().PixelsPerInch();
    return ppi > 0 ? ppi : 96;
}

namespace {

bool IsDefaultName(std::string_view name) {
    constexpr std::string_view kDefault = "default";
    if (name.size() != kDefault.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != kDefault[i]) return false;
    return true;
}

std::uint16_t HashOf(const FontDescription& d) {
    // FNV-1a over the description's fields, folded to 16 bits.
    std::uint32_t h = 2166136261u;
    auto mix = [&h](std::uint8_t byte) {
        h ^= byte;
        h *= 16777619u;
    };
    const auto height = static_cast<std::uint32_t>(d.height);
    for (int shift = 0; shift < 32; shift += 8) mix(static_cast<std::uint8_t>(height >> shift));
    mix(static_cast<std::uint8_t>(d.pitch));
    mix(d.style);
    mix(d.charset);
    for (char c : d.name) mix(static_cast<std::uint8_t>(c));
    return static_cast<std::uint16_t>((h >> 16) ^ (h & 0xFFFF));
}

// The table of interned descriptions. A record leaves the table when its last
// font lets go of it. Only the UI thread uses fonts.
class FontTable {
public:
    static FontTable& Get() {
        // Built by the first font, so it outlives every font.
        static FontTable table;
        return table;
    }

    std::shared_ptr<const TFontResource> Intern(const FontDescription& d) {
        const std::uint16_t hash = HashOf(d);
        auto& bucket = m_buckets[hash];
        for (const Entry& e : bucket) {
            if (e.record->Description() == d) {
                if (auto shared = e.weak.lock()) return shared;
            }
        }
        // The deleter takes the record out of the table with the last reference.
        std::shared_ptr<const TFontResource> shared(new TFontResource(d, hash),
                                                    [this](const TFontResource* r) { Release(r); });
        bucket.push_back({shared.get(), shared});
        return shared;
    }

private:
    struct Entry {
        const TFontResource* record;
        std::weak_ptr<const TFontResource> weak;
    };

    void Release(const TFontResource* r) {
        auto it = m_buckets.find(r->Hash());
        if (it != m_buckets.end()) {
            auto& bucket = it->second;
            std::erase_if(bucket, [r](const Entry& e) { return e.record == r; });
            if (bucket.empty()) m_buckets.erase(it);
        }
        delete r;
    }

    std::unordered_map<std::uint16_t, std::vector<Entry>> m_buckets;
};

}  // namespace

const platform::IFont& TFontResource::Handle() const {
    if (!m_handle) {
        if (IsDefaultName(m_description.name)) {
            FontDescription d = m_description;
            d.name = std::string(kDefaultFontName);
            m_handle = Platform().CreateFont(d);
        } else {
            m_handle = Platform().CreateFont(m_description);
        }
    }
    return *m_handle;
}

TFont::TFont() : m_color(clWindowText), m_pixels_per_inch(ScreenPixelsPerInch()) {
    FontDescription d;
    d.height = -MulDiv(8, m_pixels_per_inch, 72);
    d.name = std::string(kDefaultFontName);
    m_resource = FontTable::Get().Intern(d);
}

template <typename Field, typename Value>
void TFont::SetField(Field FontDescription::*field, const Value& value) {
    // The common no-change case costs one comparison, no table lookup.
    if (Description().*field == value) return;
    FontDescription d = Description();
    d.*field = Field(value);
    m_resource = FontTable::Get().Intern(d);
    if (OnChange) OnChange();
}

void TFont::SetHeight(int height) { SetField(&FontDescription::height, height); }

int TFont::Size() const { return WrapNeg(MulDiv(Description().height, 72, m_pixels_per_inch)); }

void TFont::SetSize(int points) { SetHeight(WrapNeg(MulDiv(points, m_pixels_per_inch, 72))); }

void TFont::SetName(std::string_view name) {
    if (!name.empty())
        SetField(&FontDescription::name, name.substr(0, Utf8PrefixOfUtf16Length(name, kMaxFontNameLength)));
}

void TFont::SetStyle(TFontStyles style) {
    constexpr TFontStyles kKnown = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    SetField(&FontDescription::style, static_cast<TFontStyles>(style & kKnown));
}


void TFont::SetCharset(std::uint8_t charset) { SetField(&FontDescription::charset, charset); }

void TFont::SetColor(TColor color) {
    if (color == m_color) return;
    m_color = color;
    if (OnChange) OnChange();
}

void TFont::Assign(const TFont& other) {
    if (&other == this) return;
    const bool changed = other.m_resource != m_resource || other.m_color != m_color;
    m_resource = other.m_resource;
    m_color = other.m_color;
    m_pixels_per_inch = other.m_pixels_per_inch;
    if (changed && OnChange) OnChange();
}

}  // namespace automenu
