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
// The same into `bytes`, whose capacity leaves `spare` bytes beyond the file
// for the caller. A read error also gives CannotOpen (and no bytes).
FileReadStatus PosixReadFile(const std::string& path, std::size_t max_bytes, std::string& bytes,
                             std::size_t spare = 0);

}  // namespace automenu::platform
