#include "platform/posix/PosixShell.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/DesktopOpener.h"
#include "platform/posix/ScopedEnvironmentVariable.h"
#include "support/TempDir.h"

namespace automenu::platform {
namespace {

namespace fs = std::filesystem;
using Argv = std::vector<std::string>;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file's text once it has `lines` whole lines, or what it has after five
// seconds: the programs run detached, so only their marks tell they ran.
std::string WaitForLines(const std::string& path, std::size_t lines) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        const std::string text = ReadAll(path);
        const auto complete = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        if (complete >= lines || std::chrono::steady_clock::now() > deadline) return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The root of a disc written on Windows and mounted without Rock Ridge: every
// file and folder has mode 0555, whatever it holds. The programs and the stub
// xdg-open append what they were started with to $AUTOMENU_TEST_MARKS.
class WindowsMediaTest : public ::testing::Test {
protected:
    WindowsMediaTest() {
        fs::create_directories(Media("DOCS"));
        Put("README.TXT", "Read me first.\r\n");
        Put("Read Me 'now' $(touch x) `y`.txt", "A name a shell would take apart.\r\n");
        Put("SETUP.EXE", std::string("MZ\x90\x00\x03\x00\x00\x00\x04\x00\x00\x00\xFF\xFF", 14));
        Put("INSTALL.BAT", "@echo off\r\nSETUP.EXE\r\n");
        Put("DATA.MSI", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
        Put("EMPTY", "");
        Put("NOTES.SH", "# a comment, not #!\necho hello\n");
        fs::copy_file(AUTOMENU_TEST_MARK_PROGRAM, Media("INSTALL"));
        Put("CHECK.SH", "#!/bin/sh\necho \"ran $0 argc=$(($# + 1))\" >>\"$AUTOMENU_TEST_MARKS\"\n");
        Put("TOOLS.SH", "#!/no/such/interpreter\necho \"ran $0\" >>\"$AUTOMENU_TEST_MARKS\"\n");
        for (const auto& entry : fs::directory_iterator(Media())) fs::permissions(entry.path(), fs::perms(0555));
        fs::permissions(Media(), fs::perms(0555));

        fs::create_directories(m_dir.Join("bin"));
        fs::create_directories(m_dir.Join("empty"));
        m_dir.Write("bin/xdg-open",
                    "#!/bin/sh\n"
                    "{ echo \"xdg-open argc=$#\"; for a in \"$@\"; do printf 'arg=%s\\n' \"$a\"; done; }"
                    " >>\"$AUTOMENU_TEST_MARKS\"\n");
        fs::permissions(m_dir.Join("bin/xdg-open"), fs::perms(0755));
    }
    ~WindowsMediaTest() override {
        std::error_code ignored;
        fs::permissions(Media(), fs::perms(0755), ignored);  // so that it can be removed
    }

    std::string Media(const std::string& name = {}) const {
        return name.empty() ? m_dir.Join("media") : m_dir.Join("media/" + name);
    }
    std::string Opener() const { return m_dir.Join("bin/xdg-open"); }
    void Put(const std::string& name, const std::string& bytes) const { m_dir.Write("media/" + name, bytes); }

    automenu::testing::TempDir m_dir;
};

enum class Outcome { Runs, Opened };

// Every file of the medium, and what a click on it does.
const struct MediaCase {
    const char* name;
    Outcome outcome;
} kMediaCases[] = {
    {"README.TXT", Outcome::Opened},
    {"Read Me 'now' $(touch x) `y`.txt", Outcome::Opened},
    {"SETUP.EXE", Outcome::Opened},   // MZ: a Windows program
    {"INSTALL.BAT", Outcome::Opened},
    {"DATA.MSI", Outcome::Opened},
    {"EMPTY", Outcome::Opened},
    {"NOTES.SH", Outcome::Opened},    // "#" but not "#!"
    {"DOCS", Outcome::Opened},        // a folder
    {"INSTALL", Outcome::Runs},       // ELF
    {"CHECK.SH", Outcome::Runs},      // #!/bin/sh
    {"TOOLS.SH", Outcome::Opened},    // #! with a missing interpreter: opened after execv fails
};

TEST_F(WindowsMediaTest, OnlyFilesThatBeginAsAProgramAreStartedWhateverTheModeBits) {
    for (const MediaCase& c : kMediaCases) {
        SCOPED_TRACE(c.name);
        const std::string path = Media(c.name);
        // The missing interpreter shows only when starting it fails.
        const bool runnable = c.outcome == Outcome::Runs || std::string(c.name) == "TOOLS.SH";
        EXPECT_EQ(IsRunnableProgram(path), runnable);

        const OpenCommand command = ShellOpenCommand(path, m_dir.Join("bin"));
        const OpenCommand no_opener = ShellOpenCommand(path, m_dir.Join("empty"));
        if (runnable) {
            EXPECT_EQ(command.argv, Argv{path});
            EXPECT_EQ(command.fallback, (Argv{Opener(), path}));
            EXPECT_EQ(no_opener.argv, Argv{path});
            EXPECT_EQ(no_opener.fallback, Argv{});
        } else {
            EXPECT_EQ(command.argv, (Argv{Opener(), path}));
            EXPECT_EQ(command.fallback, Argv{});
            EXPECT_EQ(no_opener.argv, Argv{}) << "nothing to run: the menu says xdg-open is missing";
            EXPECT_EQ(no_opener.fallback, Argv{});
        }
    }
}

TEST_F(WindowsMediaTest, ProgramsWithoutExecutePermissionAreOpened) {
    fs::create_directories(m_dir.Join("plain"));
    fs::copy_file(AUTOMENU_TEST_MARK_PROGRAM, m_dir.Join("plain/INSTALL"));
    m_dir.Write("plain/CHECK.SH", "#!/bin/sh\n");
    for (const char* name : {"plain/INSTALL", "plain/CHECK.SH"}) {
        SCOPED_TRACE(name);
        const std::string path = m_dir.Join(name);
        fs::permissions(path, fs::perms(0644));
        EXPECT_FALSE(IsRunnableProgram(path));
        EXPECT_EQ(ShellOpenCommand(path, m_dir.Join("bin")).argv, (Argv{Opener(), path}));
    }
    EXPECT_FALSE(IsRunnableProgram(m_dir.Join("plain/missing")));
}

TEST_F(WindowsMediaTest, EachOpenRunsTheProgramOrReachesTheOpenerWithTheOneUnchangedPath) {
    const char* path_variable = std::getenv("PATH");
    const ScopedEnvironmentVariable search("PATH",
                                           m_dir.Join("bin") + ":" + (path_variable ? path_variable : "/usr/bin:/bin"));
    int n = 0;
    for (const MediaCase& c : kMediaCases) {
        SCOPED_TRACE(c.name);
        const std::string marks = m_dir.Join("marks-" + std::to_string(++n));
        const ScopedEnvironmentVariable to("AUTOMENU_TEST_MARKS", marks);
        const std::string path = Media(c.name);

        DesktopOpener opener;
        EXPECT_EQ(opener.Open(path), std::nullopt);
        if (c.outcome == Outcome::Runs)
            EXPECT_EQ(WaitForLines(marks, 1), "ran " + path + " argc=1\n");
        else
            EXPECT_EQ(WaitForLines(marks, 2), "xdg-open argc=1\narg=" + path + "\n");

        // The opener is reaped once it ends, and a program is not ours.
        for (int i = 0; i < 500 && opener.Watching(); ++i) {
            EXPECT_TRUE(opener.Poll().empty());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_FALSE(opener.Watching());
        errno = 0;
        EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
        EXPECT_EQ(errno, ECHILD);
    }
}

}  // namespace
}  // namespace automenu::platform
