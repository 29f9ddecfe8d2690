// A font as controls use it: a description (height, pitch, style, character
// set, name) plus a colour. Sizes in points are stored as pixel heights.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace automenu {

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c);

class TFont {
public:
    TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    int Height() const { return m_description.height; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int points);
    const std::string& Name() const { return m_description.name; }
    void SetName(std::string_view name);
    TFontStyles Style() const { return m_description.style; }
    void SetStyle(TFontStyles style);
    TFontPitch Pitch() const { return m_description.pitch; }
    void SetPitch(TFontPitch pitch);
    std::uint8_t Charset() const { return m_description.charset; }
    void SetCharset(std::uint8_t charset);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    int PixelsPerInch() const { return m_pixels_per_inch; }

    // Takes every property of another font (one change notice at most).
    void Assign(const TFont& other);

    const FontDescription& Description() const { return m_description; }
    // The platform font for the description, created on first use and shared.
    const platform::IFont& Handle() const;

    // Raised once per property change that really changes something.
    std::function<void()> OnChange;

private:
    void ChangeDescription(const FontDescription& d);

    FontDescription m_description;
    TColor m_color;
    int m_pixels_per_inch;
    mutable std::shared_ptr<platform::IFont> m_handle;
};

}  // namespace automenu
