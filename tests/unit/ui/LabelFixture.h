// The menu-sized window of the headless desktop with labels added to it, for
// label and hint tests.
#pragma once

#include <string>

#include "support/HeadlessFixture.h"
#include "ui/TLabel.h"

namespace automenu::testing {

class LabelFixture : public HeadlessFormTest {
protected:
    TLabel& AddLabel(int left, int top, const std::string& caption, bool visible = true) {
        TLabel& label = form->AddControl<TLabel>();
        label.SetVisible(visible);
        label.SetTransparent(true);
        label.SetLeft(left);
        label.SetTop(top);
        label.SetCaption(caption);
        return label;
    }
    // The text as a label measures its caption: one line, tabs expanded.
    TRect Measure(const TLabel& label, const std::string& text) {
        return desktop.ScreenCanvas().DrawText(label.Font().Handle(), {}, text, {0, 0, 0, 0},
                                               DT_EXPANDTABS | DT_CALCRECT);
    }
};

}  // namespace automenu::testing
