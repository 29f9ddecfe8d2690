// The profile reader on any bytes: the index and a line-by-line search must
// agree on a file without byte-order mark, a file with one gives valid UTF-8,
// and nothing may crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/ProfileReader.h"
#include "formats/TextDecoding.h"
#include "tests/unit/support/ProfileScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using automenu::ProfileReader;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto indexed = ProfileReader::FromBytes(bytes);
    const bool decoded = indexed.FileEncoding() != ProfileReader::Encoding::Bytes;
    // Ask for names taken from the input itself, so that some of them exist.
    const std::string names[] = {"", "a", "Logo Setup", "Logo Use", bytes.substr(0, 8), bytes.substr(size / 2, 6)};
    for (const std::string& section : names)
        for (const std::string& key : names) {
            const auto value = indexed.Find(section, key);
            if (!decoded && value != automenu::testing::ScanProfile(bytes.substr(0, ProfileReader::kMaxFileBytes), section, key))
                std::abort();
            if (decoded && value && !automenu::IsValidUtf8(*value)) std::abort();
        }
    return 0;
}
