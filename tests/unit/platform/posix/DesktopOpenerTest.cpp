#include "platform/posix/DesktopOpener.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/ScopedEnvironmentVariable.h"
#include "support/TempDir.h"

namespace automenu::platform {
namespace {

namespace fs = std::filesystem;

constexpr int Exited(int status) { return status << 8; }

TEST(OpenerStatusFailure, XdgOpenStatusesAndSignals) {
    const struct {
        int wait_status;
        const char* target;
        std::optional<OpenFailure> expected;
    } cases[] = {
        {Exited(0), "/media/README.TXT", std::nullopt},
        {Exited(1), "/media/README.TXT", OpenFailure::OpenerFailed},  // usage
        {Exited(2), "/media/README.TXT", OpenFailure::NoSuchFile},
        {Exited(3), "/media/README.TXT", OpenFailure::NoApplication},
        {Exited(4), "/media/README.TXT", OpenFailure::OpenerFailed},
        {Exited(5), "/media/README.TXT", OpenFailure::AccessDenied},
        {Exited(127), "/media/README.TXT", OpenFailure::OpenerFailed},
        {SIGKILL, "/media/README.TXT", OpenFailure::OpenerFailed},
        {Exited(3), "https://example.com", OpenFailure::NoApplication},
        {Exited(3), "https://example.com/setup.exe", OpenFailure::NoApplication},
        // A Windows program that nothing opens, or whose opener fails.
        {Exited(3), "/media/SETUP.EXE", OpenFailure::WindowsProgram},
        {Exited(4), "/media/tools/Install.Msi", OpenFailure::WindowsProgram},
        {Exited(4), "/media/RUN.CMD", OpenFailure::WindowsProgram},
        {Exited(2), "/media/SETUP.EXE", OpenFailure::NoSuchFile},
        {Exited(0), "/media/SETUP.EXE", std::nullopt},
        {Exited(3), "/media/setup.exe.txt", OpenFailure::NoApplication},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenerStatusFailure(c.wait_status, c.target), c.expected) << c.wait_status << " " << c.target;
}

TEST(StartFailure, ErrnoOfStartingAProgram) {
    const struct {
        int error;
        OpenFailure expected;
    } cases[] = {
        {EACCES, OpenFailure::AccessDenied},   {EPERM, OpenFailure::AccessDenied},
        {ENOEXEC, OpenFailure::NotAProgram},   {ENOENT, OpenFailure::NotAProgram},
        {ENOMEM, OpenFailure::OutOfResources}, {EAGAIN, OpenFailure::OutOfResources},
        {EIO, OpenFailure::Other},
    };
    for (const auto& c : cases) EXPECT_EQ(StartFailure(c.error), c.expected) << c.error;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A folder with targets, a stub opener that logs its arguments to "opened"
// and ends with $OPENER_STATUS after sleeping $OPENER_SLEEP seconds, and a
// folder without any opener.
class DesktopOpenerTest : public ::testing::Test {
protected:
    DesktopOpenerTest() {
        fs::create_directories(m_dir.Join("bin"));
        fs::create_directories(m_dir.Join("empty"));
        m_dir.Write("bin/xdg-open",
                    "#!/bin/sh\n"
                    "printf '%s\\n' \"$#\" \"$@\" >>\"" + m_dir.Join("opened") + "\"\n"
                    "sleep \"${OPENER_SLEEP:-0}\"\n"
                    "exit \"${OPENER_STATUS:-0}\"\n");
        fs::permissions(m_dir.Join("bin/xdg-open"), fs::perms(0755));
        m_dir.Write("README.TXT", "Read me.\n");
        m_dir.Write("SETUP.EXE", "MZ");
        m_dir.Write("run.sh", "#!/bin/sh\necho ran >\"" + m_dir.Join("ran") + "\"\n");
        fs::permissions(m_dir.Join("run.sh"), fs::perms(0755));
        m_dir.Write("broken.sh", "#!/no/such/interpreter\n");
        fs::permissions(m_dir.Join("broken.sh"), fs::perms(0755));
    }
    ~DesktopOpenerTest() override {
        // Nothing of the tests may be left unreaped.
        errno = 0;
        EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
        EXPECT_EQ(errno, ECHILD);
    }

    // Polls until no opener is watched (at most ten seconds).
    std::vector<OpenFailureReport> Finish(DesktopOpener& opener) {
        std::vector<OpenFailureReport> all;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (opener.Watching() && std::chrono::steady_clock::now() < deadline) {
            for (auto& f : opener.Poll()) all.push_back(std::move(f));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_FALSE(opener.Watching());
        return all;
    }

    automenu::testing::TempDir m_dir;
};

TEST_F(DesktopOpenerTest, TheOpenersStatusBecomesTheReasonOnceItEnds) {
    const ScopedEnvironmentVariable path("PATH", m_dir.Join("bin") + ":/usr/bin:/bin");
    const struct {
        const char* target;
        const char* status;
        std::optional<OpenFailure> reason;
    } cases[] = {
        {"README.TXT", "0", std::nullopt},
        {"README.TXT", "2", OpenFailure::NoSuchFile},
        {"README.TXT", "3", OpenFailure::NoApplication},
        {"README.TXT", "4", OpenFailure::OpenerFailed},
        {"SETUP.EXE", "3", OpenFailure::WindowsProgram},
        {"https://example.com/support?a=1&b=2", "0", std::nullopt},
        {"mailto:help@example.com", "1", OpenFailure::OpenerFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " " + c.status);
        fs::remove(m_dir.Join("opened"));
        const ScopedEnvironmentVariable status("OPENER_STATUS", c.status);
        const std::string target =
            std::string(c.target).find(':') == std::string::npos ? m_dir.Join(c.target) : c.target;
        DesktopOpener opener;
        EXPECT_EQ(opener.Open(target), std::nullopt) << "nothing is known at once";
        const auto failures = Finish(opener);
        EXPECT_EQ(ReadAll(m_dir.Join("opened")), "1\n" + target + "\n") << "one unchanged argument";
        if (!c.reason) {
            EXPECT_TRUE(failures.empty());
            continue;
        }
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_EQ(failures[0].target, target);
        EXPECT_EQ(failures[0].reason, *c.reason);
    }
}

TEST_F(DesktopOpenerTest, FailuresKnownAtOnce) {
    const struct {
        const char* name;
        const char* target;
        const char* search;
        std::optional<OpenFailure> reason;
    } cases[] = {
        {"a missing file needs no opener", "MISSING.TXT", "bin", OpenFailure::NoSuchFile},
        {"a file in a missing folder", "NOFOLDER/README.TXT", "bin", OpenFailure::NoSuchFile},
        {"no opener", "README.TXT", "empty", OpenFailure::NoOpener},
        {"no opener for a link", "https://example.com", "empty", OpenFailure::NoOpener},
        {"a program that cannot start, and no opener", "broken.sh", "empty", OpenFailure::NotAProgram},
        {"a program runs without an opener", "run.sh", "empty", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(m_dir.Join("opened"));
        const ScopedEnvironmentVariable path("PATH", m_dir.Join(c.search));
        const std::string target =
            std::string(c.target).find(':') == std::string::npos ? m_dir.Join(c.target) : c.target;
        DesktopOpener opener;
        const auto failure = opener.Open(target);
        EXPECT_FALSE(opener.Watching());
        EXPECT_FALSE(fs::exists(m_dir.Join("opened")));
        if (!c.reason) {
            EXPECT_EQ(failure, std::nullopt);
            // It runs detached: only its mark tells it ran.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!fs::exists(m_dir.Join("ran")) && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            EXPECT_TRUE(fs::exists(m_dir.Join("ran")));
            continue;
        }
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->target, target);
        EXPECT_EQ(failure->reason, *c.reason);
    }
}

TEST_F(DesktopOpenerTest, AProgramThatCannotStartGoesToTheOpener) {
    const ScopedEnvironmentVariable path("PATH", m_dir.Join("bin") + ":/usr/bin:/bin");
    DesktopOpener opener;
    EXPECT_EQ(opener.Open(m_dir.Join("broken.sh")), std::nullopt);
    EXPECT_TRUE(Finish(opener).empty());
    EXPECT_EQ(ReadAll(m_dir.Join("opened")), "1\n" + m_dir.Join("broken.sh") + "\n");
}

TEST_F(DesktopOpenerTest, ASlowOpenerIsWatchedWithoutWaitingAndReportedWhenItEnds) {
    const ScopedEnvironmentVariable path("PATH", m_dir.Join("bin") + ":/usr/bin:/bin");
    const ScopedEnvironmentVariable slow("OPENER_SLEEP", "1");
    const ScopedEnvironmentVariable status("OPENER_STATUS", "4");
    DesktopOpener opener;
    EXPECT_EQ(opener.Open(m_dir.Join("README.TXT")), std::nullopt);
    EXPECT_EQ(opener.Open(m_dir.Join("SETUP.EXE")), std::nullopt);
    EXPECT_TRUE(opener.Watching());
    EXPECT_TRUE(opener.Poll().empty()) << "both still sleep";
    auto failures = Finish(opener);
    ASSERT_EQ(failures.size(), 2u);
    std::ranges::sort(failures, {}, &OpenFailureReport::target);
    EXPECT_EQ(failures[0].reason, OpenFailure::OpenerFailed);
    EXPECT_EQ(failures[1].reason, OpenFailure::WindowsProgram);
}

}  // namespace
}  // namespace automenu::platform
