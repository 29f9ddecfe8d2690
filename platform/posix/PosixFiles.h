// File and directory services shared by the Linux back ends.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace automenu::platform {

std::string PosixCurrentDirectory();
// The running program's file, from /proc/self/exe; empty when it cannot be read.
std::string PosixProgramPath();
// Reads a whole regular file of at most max_bytes. A directory, a device or a
// file that cannot be opened gives CannotOpen; a longer file gives TooLarge
// and no bytes, without reading it.
FileReadResult PosixReadFile(const std::string& path, std::size_t max_bytes);
// Reads at most max_bytes of a regular file into `bytes`, whose capacity
// leaves `spare` bytes beyond the file for the caller; a longer file gives
// TooLarge with its first max_bytes. A read error also gives CannotOpen (and
// no bytes).
FileReadStatus PosixReadFile(const std::string& path, std::size_t max_bytes, std::string& bytes,
                             std::size_t spare = 0);

}  // namespace automenu::platform
