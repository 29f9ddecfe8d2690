#include "platform/win32/Win32Shell.h"

#include <gtest/gtest.h>

#include "platform/win32/WindowsApi.h"

#include <shellapi.h>

namespace automenu::platform {
namespace {

TEST(OpenFailureOfShellError, TheShellsErrorsAndItsOlderCodes) {
    const struct {
        unsigned long last_error;
        long long instance;
        std::optional<OpenFailure> expected;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, SE_ERR_FNF, OpenFailure::NoSuchFile},
        {ERROR_PATH_NOT_FOUND, SE_ERR_PNF, OpenFailure::NoSuchFile},
        {ERROR_BAD_NETPATH, 0, OpenFailure::NoSuchFile},
        {ERROR_ACCESS_DENIED, SE_ERR_ACCESSDENIED, OpenFailure::AccessDenied},
        {ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC, OpenFailure::NoApplication},
        {ERROR_BAD_EXE_FORMAT, ERROR_BAD_FORMAT, OpenFailure::NotAProgram},
        {ERROR_NOT_ENOUGH_MEMORY, SE_ERR_OOM, OpenFailure::OutOfResources},
        {ERROR_DDE_FAIL, SE_ERR_DDEFAIL, OpenFailure::OpenerFailed},
        {ERROR_CANCELLED, 0, std::nullopt},  // the user said no, at an elevation prompt
        {ERROR_INVALID_PARAMETER, 0, OpenFailure::Other},
        // No last error: the SE_ERR_ code, whose numbers mean other things as
        // errors (SE_ERR_DLLNOTFOUND is ERROR_SHARING_VIOLATION's 32).
        {ERROR_SUCCESS, SE_ERR_FNF, OpenFailure::NoSuchFile},
        {ERROR_SUCCESS, SE_ERR_NOASSOC, OpenFailure::NoApplication},
        {ERROR_SUCCESS, SE_ERR_ASSOCINCOMPLETE, OpenFailure::NoApplication},
        {ERROR_SUCCESS, SE_ERR_DLLNOTFOUND, OpenFailure::OpenerFailed},
        {ERROR_SUCCESS, SE_ERR_SHARE, OpenFailure::Other},
        {ERROR_SUCCESS, 0, OpenFailure::OutOfResources},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenFailureOfShellError(c.last_error, c.instance), c.expected) << c.last_error << " " << c.instance;
}

TEST(Win32ShellOpen, AMissingFileIsReportedWithoutABoxOfTheShell) {
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    const std::string target = std::string(directory) + "\\no such file of the menu.exe";
    const auto failure = Win32ShellOpen(target);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->target, target);
    EXPECT_EQ(failure->reason, OpenFailure::NoSuchFile);
}

}  // namespace
}  // namespace automenu::platform
