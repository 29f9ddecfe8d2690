#include "ui/TPicture.h"

#include "base/Exceptions.h"
#include "ui/TFileFormatsList.h"

namespace automenu {

TPicture::~TPicture() {
    if (m_graphic) m_graphic->SetOnChange(nullptr);
}

void TPicture::LoadFromFile(const std::string& file_name) {
    const std::string extension = PictureFileExtension(file_name);
    const TFileFormatsList::Row* row = TFileFormatsList::Instance().Find(extension);
    if (!row) throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
    std::unique_ptr<TGraphic> graphic = row->create();
    graphic->LoadFromFile(file_name);  // on failure the new graphic is simply dropped
    SetGraphic(std::move(graphic));
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    if (m_graphic) m_graphic->SetOnChange(nullptr);
    m_graphic = std::move(graphic);
    if (m_graphic) m_graphic->SetOnChange([this] { Changed(); });
    Changed();
}

void TPicture::Changed() {
    if (m_on_change) m_on_change();
}

}  // namespace automenu
