// Any bytes as AUTORUN.INF, with pictures beside it as the file names them:
// the whole start-up pass, then a mouse move over every control and the
// paints that follow, on the headless desktop. Errors go to the error
// display as in the menu; what must never happen is a crash or undefined
// behaviour for a value a key can hold.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "menu/TInstallationForm.h"
#include "platform/PlatformAccess.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/TApplication.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A folder of its own, made once, holding pictures under the names the seed
// files use; the process works in it so the passes find AUTORUN.INF there.
void EnterMenuFolder() {
    static const bool entered = [] {
        const fs::path dir = fs::temp_directory_path() / ("automenu-fuzz-startup-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        const fs::path pictures = fs::path(AUTOMENU_SOURCE_DIR) / "tests/data/pictures";
        const std::pair<const char*, const char*> copies[] = {
            {"dib24.ico", "menu.ico"}, {"rgb24_v3.bmp", "background.bmp"}, {"shapes.emf", "background.emf"},
            {"office.wmf", "background.wmf"}, {"rgb24_v3.bmp", "BACKGROUND.BMP"}, {"dib24.ico", "LOGO.ICO"},
        };
        for (const auto& [from, to] : copies)
            fs::copy_file(pictures / from, dir / to, fs::copy_options::overwrite_existing);
        return ::chdir(dir.c_str()) == 0;
    }();
    if (!entered) std::abort();
}

template <typename Action>
void Guarded(automenu::TApplication& app, Action action) {
    try {
        action();
    } catch (...) {
        app.HandleException();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace automenu;
    EnterMenuFolder();
    Write("AUTORUN.INF", data, size);

    platform::HeadlessPlatform desktop;
    SetPlatform(&desktop);
    {
        TApplication app(desktop, "/usr/bin/automenu");
        bool started = false;
        Guarded(app, [&] {
            app.Initialize();
            app.CreateForm(InstallationForm);
            started = true;
        });
        if (started) {
            TInstallationForm& form = *InstallationForm;
            const auto pump = [&] {
                for (bool more = true; more;) Guarded(app, [&] { more = app.ProcessMessage(); });
            };
            pump();
            for (const auto& control : form.Controls()) {
                if (!control->Visible() || control->Width() <= 0 || control->Height() <= 0) continue;
                const TRect r = control->BoundsRect();
                const std::int64_t x = (std::int64_t{r.left} + r.right) / 2, y = (std::int64_t{r.top} + r.bottom) / 2;
                if (x < 0 || y < 0 || x >= form.ClientWidth() || y >= form.ClientHeight()) continue;
                desktop.MoveMouse(form.Handle(), static_cast<int>(x), static_cast<int>(y));
                pump();
            }
        }
    }
    InstallationForm = nullptr;
    SetPlatform(nullptr);
    return 0;
}

// fontconfig keeps its caches for the life of the process and frees them
// only in FcFini, which pango never calls.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
