#include "ui/TFileFormatsList.h"

#include "ui/TBitmap.h"
#include "ui/TCompressedImage.h"
#include "ui/TIcon.h"
#include "ui/TMetafile.h"

namespace automenu {

namespace {

std::string LowerCase(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

template <typename T>
std::unique_ptr<TGraphic> Create() {
    return std::make_unique<T>();
}

}  // namespace

const TFileFormatsList& TFileFormatsList::Instance() {
    static const TFileFormatsList list;
    return list;
}

TFileFormatsList::TFileFormatsList() {
    Add("wmf", &Create<TMetafile>);
    Add("emf", &Create<TMetafile>);
    Add("ico", &Create<TIcon>);
    Add("bmp", &Create<TBitmap>);
    // Pictures as authors have them today, decoded by the system.
    Add("png", [] { return std::make_unique<TCompressedImage>(CompressedImageFormat::Png); });
    Add("jpg", [] { return std::make_unique<TCompressedImage>(CompressedImageFormat::Jpeg); });
    Add("jpeg", [] { return std::make_unique<TCompressedImage>(CompressedImageFormat::Jpeg); });
}

std::vector<std::string> TFileFormatsList::Extensions() const {
    std::vector<std::string> extensions;
    for (const Row& row : m_rows) extensions.push_back(row.extension);
    return extensions;
}

void TFileFormatsList::Add(std::string extension, std::function<std::unique_ptr<TGraphic>()> create) {
    m_rows.push_back({LowerCase(std::move(extension)), std::move(create)});
}

const TFileFormatsList::Row* TFileFormatsList::Find(const std::string& extension) const {
    const std::string lower = LowerCase(extension);
    for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it)
        if (it->extension == lower) return &*it;
    return nullptr;
}

std::string PictureFileExtension(const std::string& file_name) {
    const auto dot = file_name.rfind('.');
    if (dot == std::string::npos) return {};
    const auto separator = file_name.find_last_of("\\:/");
    if (separator != std::string::npos && separator > dot) return {};
    return file_name.substr(dot + 1);
}

}  // namespace automenu
