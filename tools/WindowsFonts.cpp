#include "WindowsFonts.h"

#include "base/AsciiCase.h"

namespace automenu::tool {

namespace {

// The faces Windows 7 installs in every language, which later versions still
// have (some of those for other scripts only as optional features, which a
// PC in that language has), and the old raster and vector faces. The list
// errs on the side of silence: a face Windows has is never warned about.
// clang-format off
constexpr std::string_view kFaces[] = {
    // Latin, Greek and Cyrillic text faces
    "Arial", "Arial Black", "Calibri", "Cambria", "Cambria Math", "Candara", "Comic Sans MS", "Consolas",
    "Constantia", "Corbel", "Courier New", "Franklin Gothic Medium", "Gabriola", "Georgia", "Impact",
    "Lucida Console", "Lucida Sans Unicode", "Microsoft Sans Serif", "Palatino Linotype", "Segoe Print",
    "Segoe Script", "Segoe UI", "Segoe UI Light", "Segoe UI Semibold", "Segoe UI Symbol", "Sylfaen", "Tahoma",
    "Times New Roman", "Trebuchet MS", "Verdana",
    // symbols
    "Marlett", "Symbol", "Webdings", "Wingdings",
    // raster and vector faces, and the names GDI maps to a face of its own
    "Courier", "Fixedsys", "Modern", "MS Sans Serif", "MS Serif", "Roman", "Script", "Small Fonts", "System",
    "Terminal",
    // other scripts
    "Ebrima", "Estrangelo Edessa", "Euphemia", "Gautami", "Iskoola Pota", "Kalinga", "Kartika", "Latha",
    "Leelawadee", "Mangal", "Microsoft Himalaya", "Microsoft New Tai Lue", "Microsoft PhagsPa", "Microsoft Tai Le",
    "Microsoft Uighur", "Microsoft Yi Baiti", "Mongolian Baiti", "MV Boli", "Nyala", "Plantagenet Cherokee",
    "Raavi", "Shruti", "Tunga", "Vani", "Vrinda", "Aparajita", "Kokila", "Utsaah", "Vijaya", "Shonar Bangla",
    "DaunPenh", "DokChampa", "Khmer UI", "Lao UI", "MoolBoran", "Aharoni", "David", "FrankRuehl", "Gisha",
    "Levenim MT", "Miriam", "Miriam Fixed", "Narkisim", "Rod", "Andalus", "Arabic Typesetting", "Simplified Arabic",
    "Simplified Arabic Fixed", "Traditional Arabic", "Angsana New", "AngsanaUPC", "Browallia New", "BrowalliaUPC",
    "Cordia New", "CordiaUPC", "DilleniaUPC", "EucrosiaUPC", "FreesiaUPC", "IrisUPC", "JasmineUPC", "KodchiangUPC",
    "LilyUPC",
    // Chinese, Japanese and Korean
    "Batang", "BatangChe", "Dotum", "DotumChe", "FangSong", "Gulim", "GulimChe", "Gungsuh", "GungsuhChe", "KaiTi",
    "Malgun Gothic", "Meiryo", "Meiryo UI", "Microsoft JhengHei", "Microsoft YaHei", "MingLiU", "MingLiU_HKSCS",
    "MS Gothic", "MS Mincho", "MS PGothic", "MS PMincho", "MS UI Gothic", "NSimSun", "PMingLiU", "SimHei", "SimSun",
};
// clang-format on

}  // namespace

bool IsWindowsFontFace(std::string_view name) {
    for (const std::string_view face : kFaces)
        if (EqualsIgnoringCase(face, name)) return true;
    return false;
}

}  // namespace automenu::tool
