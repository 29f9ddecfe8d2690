// A headless desktop with the application object and one shown 634 x 454
// window, for label and hint tests.
#pragma once

#include <gtest/gtest.h>

#include "platform/headless/HeadlessPlatform.h"
#include "ui/PlatformAccess.h"
#include "ui/TApplication.h"
#include "ui/TCustomForm.h"
#include "ui/TLabel.h"

namespace automenu::testing {

class LabelFixture : public ::testing::Test {
protected:
    LabelFixture() {
        SetPlatform(&m_platform);
        m_app = std::make_unique<TApplication>(m_platform, "automenu");
        m_form = std::make_unique<TForm>();
        m_form->SetClientSize({634, 454});
        m_form->Show();
        Pump();
    }
    ~LabelFixture() override {
        m_form.reset();
        m_app.reset();
        SetPlatform(nullptr);
    }

    TLabel& AddLabel(int left, int top, const std::string& caption, bool visible = true) {
        TLabel& label = m_form->AddControl<TLabel>();
        label.SetVisible(visible);
        label.SetTransparent(true);
        label.SetLeft(left);
        label.SetTop(top);
        label.SetCaption(caption);
        return label;
    }
    // Handles every waiting message (paints included) without advancing time.
    void Pump() {
        while (m_app->ProcessMessage()) {
        }
    }
    TRect Measure(const TLabel& label, const std::string& text) {
        return m_platform.ScreenCanvas().DrawText(label.Font().Handle(), {}, text, {0, 0, 0, 0},
                                                  label.TextFlags() | DT_CALCRECT);
    }
    platform::WindowId Window() const { return m_form->Handle(); }

    platform::HeadlessPlatform m_platform;
    std::unique_ptr<TApplication> m_app;
    std::unique_ptr<TForm> m_form;
};

}  // namespace automenu::testing
