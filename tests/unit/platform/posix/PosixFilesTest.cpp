#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/posix/PosixFiles.h"

namespace automenu::platform {
namespace {

// A whole-file read refuses a longer file without reading it; the profile
// read keeps its start.
TEST(PosixReadFile, LongerThanTheLimit) {
    const std::string path = ::testing::TempDir() + "posix_read_" + std::to_string(::getpid());
    std::ofstream(path, std::ios::binary) << "0123456789abcdef";
    struct Row {
        std::size_t limit;
        FileReadStatus status;
        std::string whole, start;
    } rows[] = {
        {16, FileReadStatus::Ok, "0123456789abcdef", "0123456789abcdef"},
        {10, FileReadStatus::TooLarge, "", "0123456789"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.limit);
        const FileReadResult whole = PosixReadFile(path, row.limit);
        EXPECT_EQ(whole.status, row.status);
        EXPECT_EQ(std::string(whole.bytes.begin(), whole.bytes.end()), row.whole);
        std::string start;
        EXPECT_EQ(PosixReadFile(path, row.limit, start), row.status);
        EXPECT_EQ(start, row.start);
    }
    ::unlink(path.c_str());
}

}  // namespace
}  // namespace automenu::platform
