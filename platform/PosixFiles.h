// File and directory services shared by the Linux back ends.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace automenu::platform {

std::string PosixCurrentDirectory();
// Reads at most max_bytes of a regular file. A directory, a device or a file
// that cannot be opened gives CannotOpen; a longer file gives TooLarge with
// its first max_bytes.
FileReadResult PosixReadFile(const std::string& path, std::size_t max_bytes);

}  // namespace automenu::platform
