// The Windows shell's "open" for a launch target, and what its errors mean.
#pragma once

#include <optional>
#include <string>

#include "platform/ShellOpen.h"

namespace automenu::platform {

// Opens a target (a file, a folder or a URL, in UTF-8) with
// ShellExecuteExW: the operation "open", no owner window, parameters or
// folder, the show command SW_SHOW, and no box of the shell's own, so that
// the menu's error box is the only one. Returns the failure, or nothing when
// the shell opened it (or the user cancelled, as at an elevation prompt).
std::optional<OpenFailureReport> Win32ShellOpen(const std::string& target);

// What the shell's failure means: first by the thread's last error, then,
// when that is 0, by the SE_ERR_ value in hInstApp. Nothing for a
// cancellation by the user.
std::optional<OpenFailure> OpenFailureOfShellError(unsigned long last_error, long long instance_code);

}  // namespace automenu::platform
