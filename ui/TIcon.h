// An icon: the file's bytes kept as read, the displayable image built from
// them on first use.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/IcoDecoder.h"
#include "ui/TGraphic.h"

namespace automenu {

class TIcon : public TGraphic {
public:
    TIcon() = default;

    // Before the icon is built these are the system's large-icon size.
    int Width() const override;
    int Height() const override;
    bool Empty() const override { return m_data.empty(); }
    // Drawn at its own size with its mask or alpha.
    void Draw(platform::ICanvas& canvas, const TRect& rect) override;

    // Zero means none requested: the system's large-icon size is used.
    void SetRequestedSize(TSize size) { m_requested = size; }

    // Builds the icon when it has not been built yet, holding at most the
    // screen's size of its image. Throws EOutOfResources when its image
    // cannot be made.
    const PixelImage& Image();
    const std::vector<std::uint8_t>& Data() const { return m_data; }

protected:
    void ReadData(std::span<const std::uint8_t> bytes) override;
    [[noreturn]] void ThrowOutOfMemory() const override;

private:
    std::vector<std::uint8_t> m_data;
    TSize m_requested;
    std::optional<BuiltIcon> m_built;
};

}  // namespace automenu
