// A font as controls use it: a description (height, pitch, style, character
// set, name) plus a colour. Sizes in points are stored as pixel heights.
//
// Descriptions are interned: every font with a byte-equal description shares
// one reference-counted record, found by a 16-bit hash and a full comparison,
// and the platform font is created once per record, on first use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace automenu {

// The screen's vertical pixels per inch, read from the platform on the first
// call made with a platform installed; 96 before that.
int ScreenPixelsPerInch();

// The face a font named "Default" (any case) stands for, and the name of a new font.
inline constexpr std::string_view kDefaultFontName = "MS Sans Serif";
// Of UTF-16 code units, as Windows' LOGFONTW holds them; a longer name keeps
// the whole characters that fit.
inline constexpr std::size_t kMaxFontNameLength = 31;

// One interned description. Shared by every font with that description.
class TFontResource {
public:
    explicit TFontResource(FontDescription description, std::uint16_t hash)
        : m_description(std::move(description)), m_hash(hash) {}
    TFontResource(const TFontResource&) = delete;
    TFontResource& operator=(const TFontResource&) = delete;

    const FontDescription& Description() const { return m_description; }
    std::uint16_t Hash() const { return m_hash; }
    // The platform font, created on the first call.
    const platform::IFont& Handle() const;
    bool HandleAllocated() const { return m_handle != nullptr; }

private:
    const FontDescription m_description;
    const std::uint16_t m_hash;
    mutable std::shared_ptr<platform::IFont> m_handle;
};

class TFont {
public:
    TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    int Height() const { return Description().height; }
    void SetHeight(int height);
    // -MulDiv(height, 72, pixels per inch).
    int Size() const;
    // Stores the height -MulDiv(points, pixels per inch, 72).
    void SetSize(int points);
    const std::string& Name() const { return Description().name; }
    // An empty name is ignored; a longer one than 31 characters is cut.
    void SetName(std::string_view name);
    TFontStyles Style() const { return Description().style; }
    void SetStyle(TFontStyles style);
    void SetCharset(std::uint8_t charset);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);

    // Takes the description and colour of another font (one change notice at most).
    void Assign(const TFont& other);

    // The interned description; fonts with equal descriptions return the same one.
    const FontDescription& Description() const { return m_resource->Description(); }
    // The platform font for the description, created on first use and shared.
    const platform::IFont& Handle() const { return m_resource->Handle(); }

    // Raised once per property change that really changes something.
    std::function<void()> OnChange;

private:
    // Sets one member of the description: a new one interns the changed
    // description and raises OnChange.
    template <typename Field, typename Value>
    void SetField(Field FontDescription::*field, const Value& value);

    std::shared_ptr<const TFontResource> m_resource;
    TColor m_color;
    int m_pixels_per_inch;
};

}  // namespace automenu
