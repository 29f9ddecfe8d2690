// The unit tests run as the programs do: with a back end installed before any
// configuration code runs, the in-memory desktop of the authoring tool. A
// test that needs a desktop of its own installs it over this one.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "platform/PlatformAccess.h"
#include "platform/headless/HeadlessPlatform.h"

namespace automenu::testing {
namespace {

class InstalledPlatform : public ::testing::Environment {
public:
    void SetUp() override {
        m_desktop = std::make_unique<platform::HeadlessPlatform>();
        m_installed.emplace(*m_desktop);
    }
    void TearDown() override {
        m_installed.reset();
        m_desktop.reset();
    }

private:
    std::unique_ptr<platform::HeadlessPlatform> m_desktop;
    std::optional<ScopedPlatform> m_installed;
};

[[maybe_unused]] ::testing::Environment* const kInstalled = ::testing::AddGlobalTestEnvironment(new InstalledPlatform);

}  // namespace
}  // namespace automenu::testing
