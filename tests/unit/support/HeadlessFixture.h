// A headless desktop with the framework installed on it, for in-process tests.
#pragma once

#include <gtest/gtest.h>

#include "platform/PlatformAccess.h"
#include "platform/headless/HeadlessPlatform.h"
#include "ui/TApplication.h"
#include "ui/TCustomForm.h"

namespace automenu::testing {

class HeadlessTest : public ::testing::Test {
public:
    HeadlessTest() { app = std::make_unique<TApplication>(desktop, "/opt/menu/automenu"); }
    ~HeadlessTest() override { app.reset(); }

    // Handles queued messages until the queue is empty (paints included).
    void Pump() {
        while (app->ProcessMessage()) {
        }
    }

    platform::HeadlessPlatform desktop;
    ScopedPlatform installed{desktop};
    std::unique_ptr<TApplication> app;
};

// The same with one shown window of the menu's inner size, 634 x 454.
class HeadlessFormTest : public HeadlessTest {
public:
    HeadlessFormTest() : form(std::make_unique<TForm>()) {
        form->SetClientSize({634, 454});
        form->Show();
        Pump();
    }
    ~HeadlessFormTest() override { form.reset(); }

    platform::WindowId Window() const { return form->Handle(); }

    std::unique_ptr<TForm> form;
};

}  // namespace automenu::testing
