// Holds at most one graphic and tells its owner after every change.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/TGraphic.h"

namespace automenu {

class TPicture {
public:
    TPicture() = default;
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // Chooses the graphic kind by the file's extension and loads it. Throws
    // EInvalidGraphic "Unknown picture file extension (.%s)" or the load's
    // failure; the previous graphic stays on any failure.
    void LoadFromFile(const std::string& file_name);

    TGraphic* Graphic() const { return m_graphic.get(); }
    // Takes the graphic over (null clears the picture).
    void SetGraphic(std::unique_ptr<TGraphic> graphic);

    int Width() const { return m_graphic ? m_graphic->Width() : 0; }
    int Height() const { return m_graphic ? m_graphic->Height() : 0; }

    void SetOnChange(std::function<void()> on_change) { m_on_change = std::move(on_change); }

private:
    void Changed();

    std::unique_ptr<TGraphic> m_graphic;
    std::function<void()> m_on_change;
};

}  // namespace automenu
