// A headless desktop with the framework installed on it, for in-process tests.
#pragma once

#include <gtest/gtest.h>

#include "platform/headless/HeadlessPlatform.h"
#include "ui/PlatformAccess.h"
#include "ui/TApplication.h"

namespace automenu::testing {

class HeadlessTest : public ::testing::Test {
public:
    HeadlessTest() {
        SetPlatform(&desktop);
        app = std::make_unique<TApplication>(desktop, "/opt/menu/automenu");
    }
    ~HeadlessTest() override {
        app.reset();
        SetPlatform(nullptr);
    }

    // Handles queued messages until the queue is empty (paints included).
    void Pump() {
        while (app->ProcessMessage()) {
        }
    }

    platform::HeadlessPlatform desktop;
    std::unique_ptr<TApplication> app;
};

}  // namespace automenu::testing
