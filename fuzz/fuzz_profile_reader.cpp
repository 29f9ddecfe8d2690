// The profile reader on any bytes: the indexed and the line-by-line search
// must agree, and nothing may crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ProfileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto indexed = automenu::platform::ProfileReader::FromBytes(bytes);
    const auto scanned = automenu::platform::ProfileReader::FromBytes(bytes, 0);
    // Ask for names taken from the input itself, so that some of them exist.
    const std::string names[] = {"", "a", "Logo Setup", "Logo Use", bytes.substr(0, 8), bytes.substr(size / 2, 6)};
    for (const std::string& section : names)
        for (const std::string& key : names)
            if (indexed.Find(section, key) != scanned.Find(section, key)) std::abort();
    return 0;
}
