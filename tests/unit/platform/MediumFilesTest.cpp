// Built for both systems: the Linux unit tests and the Windows ones under Wine.
#include "platform/MediumFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>

#include "platform/HostSystem.h"

namespace automenu::platform {
namespace {

namespace fs = std::filesystem;

class MediumFilesTest : public ::testing::Test {
protected:
    MediumFilesTest() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_folder = fs::temp_directory_path() / host::PathOf("medium Ж " + std::to_string(stamp));
        fs::create_directories(m_folder);
    }
    ~MediumFilesTest() override {
        std::error_code unused;
        fs::remove_all(m_folder, unused);
    }
    fs::path In(const std::string& name) const { return m_folder / host::PathOf(name); }
    static std::string Contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path m_folder;
};

TEST_F(MediumFilesTest, ANewFileGetsExactlyTheBytesWritten) {
    const std::string bytes("line\nwith LF\r\nand \0 NUL", 23);
    {
        NewFile file(In("autorun.sh"));
        ASSERT_TRUE(file.IsOpen()) << file.Error();
        EXPECT_TRUE(file.Write(bytes.substr(0, 5)));
        EXPECT_TRUE(file.Write(bytes.substr(5)));
        EXPECT_TRUE(file.Finish(0755)) << file.Error();
    }
    EXPECT_EQ(Contents(In("autorun.sh")), bytes);
}

TEST_F(MediumFilesTest, ANewFileNeverOpensWhatIsThere) {
    std::ofstream(In("AUTORUN.INF")) << "the author's";
    fs::create_directory(In("folder"));
    for (const char* name : {"AUTORUN.INF", "folder"}) {
        NewFile file(In(name));
        EXPECT_FALSE(file.IsOpen()) << name;
        EXPECT_FALSE(file.Error().empty()) << name;
    }
    EXPECT_EQ(Contents(In("AUTORUN.INF")), "the author's");
}

TEST_F(MediumFilesTest, ASourceFileTellsFilesFromFoldersAndReadsToItsEnd) {
    std::ofstream(In("README.TXT"), std::ios::binary) << "0123456789";
    fs::create_directory(In("docs"));
    {
        SourceFile file(In("README.TXT"));
        ASSERT_TRUE(file.IsOpen()) << file.Error();
        EXPECT_EQ(file.Type(), SourceFile::Kind::File);
        char buffer[4];
        std::string read;
        for (std::ptrdiff_t n; (n = file.Read(buffer)) > 0;) read.append(buffer, static_cast<std::size_t>(n));
        EXPECT_EQ(read, "0123456789");
    }
    SourceFile folder(In("docs"));
    if (folder.IsOpen()) {
        EXPECT_EQ(folder.Type(), SourceFile::Kind::Folder);
        EXPECT_FALSE(folder.Error().empty());
    }
    SourceFile missing(In("missing"));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.Error().empty());
}

TEST_F(MediumFilesTest, MakeFolderMakesOneLevelAndSaysWhyNot) {
    EXPECT_EQ(MakeFolder(In("Média"), 0755), "");
    EXPECT_TRUE(fs::is_directory(In("Média")));
    EXPECT_NE(MakeFolder(In("Média"), 0755), "");
    EXPECT_NE(MakeFolder(In("missing/deeper"), 0755), "");
}

}  // namespace
}  // namespace automenu::platform
