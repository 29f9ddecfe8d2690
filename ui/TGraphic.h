// A picture that knows its natural size, reads itself from bytes and draws
// itself into a rectangle of a canvas. Kinds: TBitmap, TIcon, TMetafile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "base/Types.h"
#include "platform/Platform.h"

namespace automenu {

// Largest picture file we read into memory: 256 MiB of pixel data (8192 x
// 8192 at 32 bits) and a MiB for headers and colour table. Only the part of
// a picture that fits on the screen is decoded, so the file's bytes are the
// only memory that grows with it; a bitmap declaring more pixels than its
// file holds reads the missing rows as black.
constexpr std::size_t kMaxPictureFileBytes = (std::size_t{1} << 28) + (std::size_t{1} << 20);

// The most of a picture that can ever be seen, and so all that is decoded and
// held: the screen's size, since a picture is cut at its control and window.
// Without a platform, a 3840 x 2160 screen.
TSize VisiblePictureSize();

class TGraphic {
public:
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    virtual void Draw(platform::ICanvas& canvas, const TRect& rect) = 0;

    // Replaces the content with the graphic read from the file. Throws
    // EFOpenError "Cannot open file %s" when the file cannot be opened, or
    // the kind's own failure; on any failure the content stays as it was.
    void LoadFromFile(const std::string& file_name);
    // The same from bytes already in memory (the whole file).
    void LoadFromBytes(std::span<const std::uint8_t> bytes);

    // Called after every change of the content.
    void SetOnChange(std::function<void()> on_change) { m_on_change = std::move(on_change); }

protected:
    TGraphic() = default;
    // Reads the whole file's bytes. Must leave the content untouched when it throws.
    virtual void ReadData(std::span<const std::uint8_t> bytes) = 0;
    // The kind's failure when memory runs out while it is read; by default
    // std::bad_alloc itself.
    [[noreturn]] virtual void ThrowOutOfMemory() const;
    void Changed();

private:
    std::function<void()> m_on_change;
};

}  // namespace automenu
