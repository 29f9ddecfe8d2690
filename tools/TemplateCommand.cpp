#include "TemplateCommand.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "AutorunChecker.h"
#include "ToolCommand.h"
#include "config/ConfigurationPaths.h"
#include "config/KeySchema.h"
#include "formats/TextDecoding.h"
#include "platform/HostSystem.h"

namespace automenu::tool {

namespace {

constexpr std::string_view kIntroduction = R"(; AUTORUN.INF of an install medium, read by automenu from its own folder.
;
; This file format has no comment syntax. A line that starts with ";" is read
; as a key whose name starts with ";", and since the menu never asks for such
; a key, these lines do no harm. Everything else is read exactly:
;  - section and key names match whatever their case, but values do not:
;    only "YES" switches on, only "NOW" means the menu's own folder, and
;    colour names are clAqua clBlack clBlue clDkGray clFuchsia clGray clGreen
;    clLime clLtGray clMaroon clNavy clOlive clPurple clRed clSilver clTeal
;    clWhite clYellow, spelt just so;
;  - a missing key reads as "0": a switch off, a number 0, a caption "0";
;  - a number that is not a whole number stops the menu at start-up.
; Check the file with "automenu-tool check" and look at it with
; "automenu-tool render . -o menu.png".
)";

// The template shows text lines 1 and 2 and entries 1 to 3; their sections
// are written, the other numbered ones are left out.
constexpr int kTextLinesShown = 2;
constexpr int kEntriesShown = 3;

// A key's value; a numbered key takes the value of its number, or the first
// one when that is all there is. The counts are written from the above.
struct Value {
    KeyId row;
    std::array<std::string_view, kEntriesShown> values;
};

constexpr Value kValues[] = {
    {KeyId::LogoUse, {"YES"}},
    {KeyId::LogoPath, {"NOW"}},
    {KeyId::LogoName, {"LOGO.ICO"}},
    {KeyId::FormHeight, {"480"}},
    {KeyId::FormWidth, {"640"}},
    {KeyId::BackgroundUse, {"YES"}},
    {KeyId::BackgroundPath, {"NOW"}},
    {KeyId::BackgroundHeight, {"480"}},
    {KeyId::BackgroundWidth, {"640"}},
    {KeyId::BackgroundTop, {"0"}},
    {KeyId::BackgroundLeft, {"0"}},
    {KeyId::TitleUse, {"YES"}},
    {KeyId::TitleCaption, {"Example Product 1.0"}},
    {KeyId::TitleTop, {"24"}},
    {KeyId::TitleLeft, {"32"}},
    {KeyId::ExitUse, {"YES"}},
    {KeyId::ExitCaption, {"Exit"}},
    {KeyId::ExitTop, {"400"}},
    {KeyId::ExitLeft, {"560"}},
    {KeyId::TextLineCaption, {"Thank you for choosing Example Product.", "Choose what to do:"}},
    {KeyId::TextLineTop, {"72", "92"}},
    {KeyId::TextLineLeft, {"32"}},
    {KeyId::EntryCaption, {"Read me first", "Licence", "Browse the disc"}},
    {KeyId::EntryTop, {"150", "190", "230"}},
    {KeyId::EntryLeft, {"48"}},
    {KeyId::EntryFilePath, {"README.TXT", "LICENSE.TXT", "."}},
    {KeyId::EntryLinuxFilePath, {"README.TXT"}},
};

// Entry 1 shows the Linux menu's own target; the others leave it out.
constexpr int kEntryWithLinuxTarget = 1;

// The six values of each font, by the font's first row (its name). Arial is
// on every Windows PC; Linux draws it with the metric-compatible Liberation
// Sans, so the layout is the same on both.
struct FontValues {
    KeyId font;
    std::array<std::string_view, LabelRows::kFontKeys> values;
};

constexpr FontValues kFonts[] = {
    {KeyId::TitleFontName, {"Arial", "clWhite", "YES", "NO", "NO", "20"}},
    {KeyId::ExitFirstFontName, {"Arial", "clWhite", "NO", "NO", "NO", "12"}},
    {KeyId::ExitSecondFontName, {"Arial", "clYellow", "NO", "NO", "YES", "12"}},
    {KeyId::TextLineFontName, {"Arial", "clSilver", "NO", "NO", "NO", "10"}},
    {KeyId::EntryFirstFontName, {"Arial", "clWhite", "NO", "NO", "NO", "14"}},
    {KeyId::EntrySecondFontName, {"Arial", "clYellow", "NO", "NO", "YES", "14"}},
};

// Comment lines under a section's heading; the section is named by its first
// key.
struct Note {
    KeyId row;
    int number;
    std::string_view text;
};

constexpr Note kNotes[] = {
    {KeyId::LogoUse, 0, "; The window's icon. NOW: the file lies next to this one.\n"},
    {KeyId::FormHeight, 0, "; The outer size of the window, frame and title bar included.\n"},
    {KeyId::BackgroundUse, 0,
     "; A .png, .jpg, .bmp, .ico, .wmf or .emf file, drawn at its own size from\n"
     "; the top left.\n"
     "; Mouse moves over it return the entries to their first look, so let it\n"
     "; cover the window.\n"},
    {KeyId::ExitUse, 0,
     "; The exit entry: its first font is its normal look, its second font the\n"
     "; look under the mouse.\n"},
    {KeyId::TextLineCount, 0, "; Lines of plain text 1 to this number are shown (at most 8).\n"},
    {KeyId::EntryCount, 0, "; Entries 1 to this number are shown (at most 8).\n"},
    {KeyId::EntryCaption, 1,
     "; File Path: what a click opens, relative to this folder. Linux File Path,\n"
     "; when given, is what the Linux menu opens instead (the Windows menu never\n"
     "; reads it): say install.sh, beside a File Path of SETUP.EXE.\n"},
    {KeyId::EntryCaption, 3, "; \".\" opens this folder in the file manager.\n"},
};

const TemplateFile& BackgroundFile();

std::string TemplateValue(const SchemaKey& key) {
    const KeyId row = key.pattern->id;
    if (row == KeyId::TextLineCount) return std::to_string(kTextLinesShown);
    if (row == KeyId::EntryCount) return std::to_string(kEntriesShown);
    if (row == KeyId::BackgroundName) return BackgroundFile().name;
    for (const Value& v : kValues) {
        if (v.row != row) continue;
        const std::size_t i = key.number > 1 ? static_cast<std::size_t>(key.number - 1) : 0;
        return std::string(v.values[i].empty() ? v.values[0] : v.values[i]);
    }
    for (const FontValues& f : kFonts)
        for (int i = 0; i < LabelRows::kFontKeys; ++i)
            if (RowAfter(f.font, i) == row) return std::string(f.values[static_cast<std::size_t>(i)]);
    throw std::logic_error("the template has no value for " + key.key);
}

// Whether the template writes the key: numbered ones only for the labels it shows.
bool Written(const SchemaKey& key) {
    if (key.number == 0) return true;
    if (key.kind == ValueKind::LinuxTarget) return key.number == kEntryWithLinuxTarget;
    const bool text_line = key.pattern->section == KeyRow(KeyId::TextLineCaption).section;
    return key.number <= (text_line ? kTextLinesShown : kEntriesShown);
}

void Put16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// The background is the window's outer size, 640 x 480, so it fills the
// inner area whatever frame and caption the system draws around it (634 x 455
// with Windows' classic frame, 638 x 459 under openbox, less with the wide
// borders of Windows 10); what lies under the frame is never seen. It shades
// from dark to lighter blue, top to bottom, in 256 shades.
constexpr std::uint32_t kBackgroundWidth = 640;
constexpr std::uint32_t kBackgroundHeight = 480;
constexpr std::uint32_t kBitmapStride = (kBackgroundWidth + 3) / 4 * 4;  // rows of a bitmap are padded to 4 bytes

// Shade i of 256 as blue, green, red.
std::array<std::uint8_t, 3> Shade(unsigned i) {
    return {static_cast<std::uint8_t>(0x50 + i * 0x60 / 255), static_cast<std::uint8_t>(0x20 + i * 0x30 / 255),
            static_cast<std::uint8_t>(0x10 + i * 0x18 / 255)};
}

// The shade of a row counted from the top.
unsigned RowShade(std::uint32_t y) { return 255 - (kBackgroundHeight - 1 - y) * 255 / (kBackgroundHeight - 1); }

// The background as an 8-bit bitmap file.
std::string BackgroundBitmap() {
    constexpr std::uint32_t kPalette = 256 * 4;
    constexpr std::uint32_t kOffset = 14 + 40 + kPalette;
    std::string out;
    out += "BM";
    Put32(out, kOffset + kBitmapStride * kBackgroundHeight);
    Put32(out, 0);
    Put32(out, kOffset);
    Put32(out, 40);
    Put32(out, kBackgroundWidth);
    Put32(out, kBackgroundHeight);
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // BI_RGB
    Put32(out, kBitmapStride * kBackgroundHeight);
    Put32(out, 3780);  // 96 pixels per inch
    Put32(out, 3780);
    Put32(out, 256);
    Put32(out, 0);
    for (unsigned i = 0; i < 256; ++i) {  // blue, green, red, reserved
        for (std::uint8_t c : Shade(i)) out.push_back(static_cast<char>(c));
        out.push_back(0);
    }
    for (std::uint32_t row = 0; row < kBackgroundHeight; ++row) {  // bottom-up
        out.append(kBackgroundWidth, static_cast<char>(RowShade(kBackgroundHeight - 1 - row)));
        out.append(kBitmapStride - kBackgroundWidth, '\0');
    }
    return out;
}

// The same pixels as a PNG file.
std::string BackgroundPng() {
    PixelImage image{static_cast<int>(kBackgroundWidth), static_cast<int>(kBackgroundHeight), {}, false};
    image.pixels.reserve(std::size_t{kBackgroundWidth} * kBackgroundHeight);
    for (std::uint32_t y = 0; y < kBackgroundHeight; ++y) {
        const auto [b, g, r] = Shade(RowShade(y));
        image.pixels.insert(image.pixels.end(), kBackgroundWidth, 0xFF000000u | std::uint32_t{r} << 16 |
                                                                      std::uint32_t{g} << 8 | b);
    }
    const std::vector<std::uint8_t> png = platform::host::EncodePng(image);
    return {png.begin(), png.end()};
}

// The background file: a PNG where that is the smaller file, else the bitmap.
const TemplateFile& BackgroundFile() {
    static const TemplateFile file = [] {
        std::string bitmap = BackgroundBitmap(), png = BackgroundPng();
        if (!png.empty() && png.size() < bitmap.size()) return TemplateFile{"BACK.PNG", std::move(png)};
        return TemplateFile{"BACK.BMP", std::move(bitmap)};
    }();
    return file;
}

// A 32 x 32 icon with alpha: a round blue disc.
std::string LogoIcon() {
    constexpr int kSize = 32;
    std::string image;
    Put32(image, 40);
    Put32(image, kSize);
    Put32(image, 2 * kSize);
    Put16(image, 1);
    Put16(image, 32);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int dx = 2 * x - (kSize - 1);
            const int dy = 2 * y - (kSize - 1);
            const bool inside = dx * dx + dy * dy <= (kSize - 2) * (kSize - 2);
            image.push_back(static_cast<char>(inside ? 0xD0 : 0));
            image.push_back(static_cast<char>(inside ? 0x80 : 0));
            image.push_back(static_cast<char>(inside ? 0x30 : 0));
            image.push_back(static_cast<char>(inside ? 0xFF : 0));
        }
    }
    for (int y = 0; y < kSize; ++y) {  // the AND mask: 1 where transparent
        for (int byte = 0; byte < kSize / 8; ++byte) {
            unsigned bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = byte * 8 + bit;
                const int dx = 2 * x - (kSize - 1);
                const int dy = 2 * y - (kSize - 1);
                if (dx * dx + dy * dy > (kSize - 2) * (kSize - 2)) bits |= 0x80u >> bit;
            }
            image.push_back(static_cast<char>(bits));
        }
    }
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.push_back(static_cast<char>(kSize));
    out.push_back(static_cast<char>(kSize));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(image.size()));
    Put32(out, 22);
    return out + image;
}

std::string_view FirstValue(KeyId row) {
    for (const Value& v : kValues)
        if (v.row == row) return v.values[0];
    return {};
}


// What Windows reads to start the menu from the medium.
std::string AutorunSection() {
    std::string out = "\n[autorun]\n"
                      "; Read by Windows, not by the menu: AutoPlay starts the Windows menu from a\n"
                      "; disc and shows the icon and label. \"automenu-tool pack\" puts automenu.exe\n"
                      "; next to this file.\n";
    out += "open=" + std::string(kWindowsMenuName) + "\n";
    if (FirstValue(KeyId::LogoUse) == "YES" && FirstValue(KeyId::LogoPath) == "NOW")
        out += "icon=" + std::string(FirstValue(KeyId::LogoName)) + "\n";
    if (const std::string_view title = FirstValue(KeyId::TitleCaption);
        !title.empty() && title.size() <= kMaxAutorunLabel)
        out += "label=" + std::string(title) + "\n";
    return out;
}

// Said under the introduction of a Unicode file; its characters outside
// ASCII also make a UTF-8 file read as UTF-8, which ASCII alone would not.
constexpr std::string_view kUtf8Note =
    "; Saved as UTF-8: captions can be written in any language (Espa\u00f1ol,\n"
    "; \u0420\u0443\u0441\u0441\u043a\u0438\u0439, \u65e5\u672c\u8a9e, \u0627\u0644\u0639\u0631\u0628\u064a\u0629 ...) "
    "and show the same on every PC.\n";
constexpr std::string_view kUtf16Note =
    "; Saved as UTF-16: captions can be written in any language (Espa\u00f1ol,\n"
    "; \u0420\u0443\u0441\u0441\u043a\u0438\u0439, \u65e5\u672c\u8a9e, \u0627\u0644\u0639\u0631\u0628\u064a\u0629 ...) "
    "and show the same on every PC,\n"
    "; also to Windows itself, which reads the [autorun] section.\n";

std::optional<TemplateEncoding> EncodingNamed(std::string_view name) {
    if (name == "ansi") return TemplateEncoding::Ansi;
    if (name == "utf-8") return TemplateEncoding::Utf8;
    if (name == "utf-16") return TemplateEncoding::Utf16;
    return std::nullopt;
}

// The medium's notes, with the example of a web link.
constexpr std::string_view kReadme = R"(Example Product 1.0

Replace this file with your product's notes.

An entry of the menu can open a web page: its File Path may be a link. For a
fourth entry, raise "Installation Message Label Count" in AUTORUN.INF to 4,
copy the section of entry 3 as [Installation Message Label 4 Font Setup],
with the 3 in each key made a 4, and set these three keys:

;Installation Message Label 4 Caption=Visit our web site
;Installation Message Label 4 Font Top=270
;Installation Message Label 4 File Path=https://www.example.com/
)";

int Usage() {
    std::fputs("usage: automenu-tool template [DIR] [--force] [--encoding utf-16|utf-8|ansi]\n", stderr);
    return kUsageError;
}

}  // namespace

// The keys in file order, with a blank line and a heading before each section.
std::string TemplateText(TemplateEncoding encoding) {
    std::string out(kIntroduction);
    if (encoding == TemplateEncoding::Utf8) out += kUtf8Note;
    if (encoding == TemplateEncoding::Utf16) out += kUtf16Note;
    const std::string* section = nullptr;
    for (const SchemaKey& key : SchemaKeys()) {
        if (!Written(key)) continue;
        if (!section || *section != key.section) {
            section = &key.section;
            out += "\n[" + key.section + "]\n";
            for (const Note& note : kNotes)
                if (note.row == key.pattern->id && note.number == key.number) out += note.text;
        }
        out += key.key + "=" + TemplateValue(key) + "\n";
    }
    out += AutorunSection();
    if (encoding != TemplateEncoding::Utf16) return out;
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : Utf8ToUtf16(out)) {
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    return utf16;
}

std::vector<TemplateFile> TemplateFiles() {
    return {
        {"LOGO.ICO", LogoIcon()},
        BackgroundFile(),
        {"README.TXT", std::string(kReadme)},
        {"LICENSE.TXT", "Replace this file with your product's licence.\n"},
    };
}

int RunTemplate(CommandArguments args) {
    std::string directory;
    bool force = false;
    TemplateEncoding encoding = TemplateEncoding::Ansi;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "--force") {
            force = true;
        } else if (a == "--encoding" || a.starts_with("--encoding=")) {
            const std::string_view name = a == "--encoding" ? (++i < args.size() ? args[i] : "") : a.substr(11);
            const std::optional<TemplateEncoding> chosen = EncodingNamed(name);
            if (!chosen) return Usage();
            encoding = *chosen;
        } else if (!a.starts_with("-") && directory.empty()) {
            directory = std::string(a);
        } else {
            return Usage();
        }
    }
    if (directory.empty()) {
        const std::string text = TemplateText(encoding);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::error_code unused;
    std::filesystem::create_directory(platform::host::PathOf(directory), unused);
    if (!force) {
        if (auto existing = platform::host::FindEntry(directory, kConfigurationFileName)) {
            const std::string message = "automenu-tool: " + directory + "/" + *existing +
                                        " exists; --force replaces it and the files the template names\n";
            std::fputs(message.c_str(), stderr);
            return 1;
        }
    }
    std::vector<TemplateFile> files = TemplateFiles();
    files.insert(files.begin(), TemplateFile{std::string(kConfigurationFileName), TemplateText(encoding)});
    for (const TemplateFile& f : files) {
        const std::string path = directory + "/" + f.name;
        std::ofstream out(platform::host::PathOf(path), std::ios::binary | std::ios::trunc);
        out.write(f.bytes.data(), static_cast<std::streamsize>(f.bytes.size()));
        out.close();
        if (!out) {
            const std::string message = "automenu-tool: cannot write " + path + "\n";
            std::fputs(message.c_str(), stderr);
            return 1;
        }
        const std::string line = path + "\n";
        std::fputs(line.c_str(), stdout);
    }
    return 0;
}

}  // namespace automenu::tool
