#include "TemplateCommand.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "ToolCommand.h"
#include "config/ConfigurationPaths.h"
#include "platform/posix/PathResolver.h"

namespace automenu::tool {

namespace {

constexpr std::string_view kTemplate = R"(; AUTORUN.INF of an install medium, read by automenu from its own folder.
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

[Logo Setup]
; The window's icon. NOW: the file lies next to this one.
Logo Use=YES
Logo Path=NOW
Logo Name=LOGO.ICO

[Installation Form Size Setup]
; The outer size of the window, frame and title bar included.
Form Height=480
Form Width=640

[BackGround Image File Setup]
; A .bmp, .ico, .wmf or .emf file, drawn at its own size from the top left.
; Mouse moves over it return the entries to their first look, so let it
; cover the window.
BackGround Image Use=YES
BackGround Image Path=NOW
BackGround Image Name=BACK.BMP
BackGround Image Height=453
BackGround Image Width=632
BackGround Image Top=0
BackGround Image Left=0

[Title Message Label Setup]
Title Message Label Use=YES
Title Message Label Caption=Example Product 1.0
Title Message Label Top=24
Title Message Label Left=32
Title Message Label Font Name=DejaVu Sans
Title Message Label Font Color=clWhite
Title Message Label Font Style Bold Use=YES
Title Message Label Font Style Italic Use=NO
Title Message Label Font Style Underline Use=NO
Title Message Label Font Size=20

[Exit Label Setup]
; The exit entry: its first font is its normal look, its second font the
; look under the mouse.
Exit Label Use=YES
Exit Label Caption=Exit
Exit Label Top=400
Exit Label Left=560
Exit Label First Font Name=DejaVu Sans
Exit Label First Font Color=clWhite
Exit Label First Font Style Bold Use=NO
Exit Label First Font Style Italic Use=NO
Exit Label First Font Style Underline Use=NO
Exit Label First Font Size=12
Exit Label Second Font Name=DejaVu Sans
Exit Label Second Font Color=clYellow
Exit Label Second Font Style Bold Use=NO
Exit Label Second Font Style Italic Use=NO
Exit Label Second Font Style Underline Use=YES
Exit Label Second Font Size=12

[Normal Message Label Count Setup]
; Lines of plain text 1 to this number are shown (at most 8).
Normal Message Label Count=2

[Normal Message Label 1 Font Setup]
Normal Message Label 1 Caption=Thank you for choosing Example Product.
Normal Message Label 1 Font Top=72
Normal Message Label 1 Font Left=32
Normal Message Label 1 Font Name=DejaVu Sans
Normal Message Label 1 Font Color=clSilver
Normal Message Label 1 Font Style Bold Use=NO
Normal Message Label 1 Font Style Italic Use=NO
Normal Message Label 1 Font Style Underline Use=NO
Normal Message Label 1 Font Size=10

[Normal Message Label 2 Font Setup]
Normal Message Label 2 Caption=Choose what to do:
Normal Message Label 2 Font Top=92
Normal Message Label 2 Font Left=32
Normal Message Label 2 Font Name=DejaVu Sans
Normal Message Label 2 Font Color=clSilver
Normal Message Label 2 Font Style Bold Use=NO
Normal Message Label 2 Font Style Italic Use=NO
Normal Message Label 2 Font Style Underline Use=NO
Normal Message Label 2 Font Size=10

[Installation Message Label Count Setup]
; Entries 1 to this number are shown (at most 8).
Installation Message Label Count=3

[Installation Message Label 1 Font Setup]
; File Path: what a click opens, relative to this folder.
Installation Message Label 1 Caption=Read me first
Installation Message Label 1 Font Top=150
Installation Message Label 1 Font Left=48
Installation Message Label 1 First Font Name=DejaVu Sans
Installation Message Label 1 First Font Color=clWhite
Installation Message Label 1 First Font Style Bold Use=NO
Installation Message Label 1 First Font Style Italic Use=NO
Installation Message Label 1 First Font Style Underline Use=NO
Installation Message Label 1 First Font Size=14
Installation Message Label 1 Second Font Name=DejaVu Sans
Installation Message Label 1 Second Font Color=clYellow
Installation Message Label 1 Second Font Style Bold Use=NO
Installation Message Label 1 Second Font Style Italic Use=NO
Installation Message Label 1 Second Font Style Underline Use=YES
Installation Message Label 1 Second Font Size=14
Installation Message Label 1 File Path=README.TXT

[Installation Message Label 2 Font Setup]
Installation Message Label 2 Caption=Licence
Installation Message Label 2 Font Top=190
Installation Message Label 2 Font Left=48
Installation Message Label 2 First Font Name=DejaVu Sans
Installation Message Label 2 First Font Color=clWhite
Installation Message Label 2 First Font Style Bold Use=NO
Installation Message Label 2 First Font Style Italic Use=NO
Installation Message Label 2 First Font Style Underline Use=NO
Installation Message Label 2 First Font Size=14
Installation Message Label 2 Second Font Name=DejaVu Sans
Installation Message Label 2 Second Font Color=clYellow
Installation Message Label 2 Second Font Style Bold Use=NO
Installation Message Label 2 Second Font Style Italic Use=NO
Installation Message Label 2 Second Font Style Underline Use=YES
Installation Message Label 2 Second Font Size=14
Installation Message Label 2 File Path=LICENSE.TXT

[Installation Message Label 3 Font Setup]
; "." opens this folder in the file manager.
Installation Message Label 3 Caption=Browse the disc
Installation Message Label 3 Font Top=230
Installation Message Label 3 Font Left=48
Installation Message Label 3 First Font Name=DejaVu Sans
Installation Message Label 3 First Font Color=clWhite
Installation Message Label 3 First Font Style Bold Use=NO
Installation Message Label 3 First Font Style Italic Use=NO
Installation Message Label 3 First Font Style Underline Use=NO
Installation Message Label 3 First Font Size=14
Installation Message Label 3 Second Font Name=DejaVu Sans
Installation Message Label 3 Second Font Color=clYellow
Installation Message Label 3 Second Font Style Bold Use=NO
Installation Message Label 3 Second Font Style Italic Use=NO
Installation Message Label 3 Second Font Style Underline Use=YES
Installation Message Label 3 Second Font Size=14
Installation Message Label 3 File Path=.
)";

void Put16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A 632 x 453 8-bit bitmap shading from dark to lighter blue, top to bottom.
std::string BackgroundBitmap() {
    constexpr std::uint32_t kWidth = 632;  // a multiple of 4: rows need no padding
    constexpr std::uint32_t kHeight = 453;
    constexpr std::uint32_t kPalette = 256 * 4;
    constexpr std::uint32_t kOffset = 14 + 40 + kPalette;
    std::string out;
    out += "BM";
    Put32(out, kOffset + kWidth * kHeight);
    Put32(out, 0);
    Put32(out, kOffset);
    Put32(out, 40);
    Put32(out, kWidth);
    Put32(out, kHeight);
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // BI_RGB
    Put32(out, kWidth * kHeight);
    Put32(out, 3780);  // 96 pixels per inch
    Put32(out, 3780);
    Put32(out, 256);
    Put32(out, 0);
    for (unsigned i = 0; i < 256; ++i) {  // blue, green, red, reserved
        out.push_back(static_cast<char>(0x50 + i * 0x60 / 255));
        out.push_back(static_cast<char>(0x20 + i * 0x30 / 255));
        out.push_back(static_cast<char>(0x10 + i * 0x18 / 255));
        out.push_back(0);
    }
    for (std::uint32_t row = 0; row < kHeight; ++row) {  // bottom-up
        const auto shade = static_cast<char>(255 - row * 255 / (kHeight - 1));
        out.append(kWidth, shade);
    }
    return out;
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

int Usage() {
    std::fputs("usage: automenu-tool template [DIR] [--force]\n", stderr);
    return kUsageError;
}

}  // namespace

std::string TemplateText() { return std::string(kTemplate); }

std::vector<TemplateFile> TemplateFiles() {
    return {
        {"LOGO.ICO", LogoIcon()},
        {"BACK.BMP", BackgroundBitmap()},
        {"README.TXT", "Example Product 1.0\n\nReplace this file with your product's notes.\n"},
        {"LICENSE.TXT", "Replace this file with your product's licence.\n"},
    };
}

int RunTemplate(CommandArguments args) {
    std::string directory;
    bool force = false;
    for (std::string_view a : args) {
        if (a == "--force") {
            force = true;
        } else if (!a.starts_with("-") && directory.empty()) {
            directory = std::string(a);
        } else {
            return Usage();
        }
    }
    if (directory.empty()) {
        const std::string text = TemplateText();
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    ::mkdir(directory.c_str(), 0777);
    if (!force) {
        if (auto existing = platform::FindEntryIgnoringCase(directory, kConfigurationFileName)) {
            const std::string message = "automenu-tool: " + directory + "/" + *existing +
                                        " exists; --force replaces it and the files the template names\n";
            std::fputs(message.c_str(), stderr);
            return 1;
        }
    }
    std::vector<TemplateFile> files = TemplateFiles();
    files.insert(files.begin(), TemplateFile{std::string(kConfigurationFileName), TemplateText()});
    for (const TemplateFile& f : files) {
        const std::string path = directory + "/" + f.name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
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
