#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <typeinfo>

#include "support/BmpHeader.h"
#include "support/GraphicsTestSupport.h"
#include "ui/TBitmap.h"
#include "ui/TIcon.h"

namespace automenu::test {
namespace {

// Address space in use, from /proc/self/statm (in pages).
rlim_t AddressSpaceInUse() {
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

// In the child: the address space may grow by only 1 MiB more, so the 256 MiB
// of pixels (more than any free block earlier tests may have left) cannot be
// had. Exits 0 when `load` fails as given.
[[noreturn]] void LoadWithLittleMemory(const std::function<void()>& load, const std::type_info& type,
                                       const std::string& message) {
    const rlim_t limit = AddressSpaceInUse() + (rlim_t{1} << 20);
    const rlimit rl{limit, limit};
    ::setrlimit(RLIMIT_AS, &rl);
    try {
        load();
    } catch (const Exception& e) {
        ::_exit(typeid(e) == type && e.Message() == message ? 0 : 2);
    } catch (...) {
        ::_exit(3);
    }
    ::_exit(1);
}

void ExpectOutOfMemory(const std::function<void()>& load, const std::type_info& type, const std::string& message) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator does not survive an address space limit";
#endif
    EXPECT_EXIT(LoadWithLittleMemory(load, type, message), ::testing::ExitedWithCode(0), "");
}

// An 8192 x 8192 screen, so that a screen's worth of pixels is 256 MiB.
class PictureMemory : public ::testing::Test {
protected:
    struct LargeScreen : PictureTestPlatform {
        TSize ScreenSize() override { return {8192, 8192}; }
    };

private:
    LargeScreen m_platform;
    ScopedPlatform m_installed{m_platform};
};

TEST_F(PictureMemory, RunningOutGivesTheKindsFailure) {
    const auto bitmap = testing::BmpHeader(8192, 8192, 24);
    std::vector<std::uint8_t> icon = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0, 40, 0, 0, 0, 22, 0, 0, 0};
    const auto dib = testing::BmpHeader(8192, 2 * 8192, 24);
    icon.insert(icon.end(), dib.begin() + 14, dib.end());
    const std::string path = ::testing::TempDir() + "two_hundred_mib-" + std::to_string(::getpid()) + ".bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bitmap.data()), bitmap.size());
    std::filesystem::resize_file(path, 200u << 20);  // sparse
    const std::string os_error =
        "System Error.  Code: 8.\nNot enough memory resources are available to process this command.";
    ExpectOutOfMemory([&] { TBitmap().LoadFromBytes(bitmap); }, typeid(EOSError), os_error);
    ExpectOutOfMemory([&] { TBitmap().LoadFromFile(path); }, typeid(EOSError), os_error);  // the file's bytes
    ExpectOutOfMemory(
        [&] {
            TIcon i;
            i.LoadFromBytes(icon);
            i.Image();
        },
        typeid(EOutOfResources), "Out of system resources");
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace automenu::test
