#include "menu/TInstallationForm.h"

#include <stdexcept>

#include "menu/DesignIcons.h"
#include "menu/InstallationLayout.h"
#include "menu/SettingsPass.h"
#include "platform/PlatformAccess.h"
#include "ui/TFont.h"

namespace automenu {

TInstallationForm* InstallationForm = nullptr;

namespace {

using MouseMoveHandler = void (TInstallationForm::*)(TObject*, TShiftState, int, int);
using ClickHandler = void (TInstallationForm::*)(TObject*);

// The published handlers, found by the names the layout stores.
struct PublishedMouseMove {
    std::string_view name;
    MouseMoveHandler handler;
};
struct PublishedClick {
    std::string_view name;
    ClickHandler handler;
};

constexpr PublishedMouseMove kMouseMoveHandlers[] = {
    {"ExitLabelMouseMove", &TInstallationForm::ExitLabelMouseMove},
    {"BackGroundImageMouseMove", &TInstallationForm::BackGroundImageMouseMove},
};

constexpr PublishedClick kClickHandlers[] = {
    {"ExitLabelClick", &TInstallationForm::ExitLabelClick},
};

// The eight entries differ only in their number: their handlers, named after
// the entry and the event, are bound by number in LoadLayout.
bool IsEntryHandler(const TControl& control, std::string_view handler, std::string_view event) {
    const std::string& name = control.Name();
    return name.starts_with("InstallationMessageLabel") && handler.size() == name.size() + event.size() &&
           handler.starts_with(name) && handler.ends_with(event);
}

}  // namespace

void TInstallationForm::BindEvents(TControl& control, std::string_view on_click, std::string_view on_mouse_move) {
    if (!on_click.empty() && !IsEntryHandler(control, on_click, "Click")) {
        for (const auto& h : kClickHandlers)
            if (h.name == on_click) control.OnClick = [this, fn = h.handler](TObject* s) { (this->*fn)(s); };
        if (!control.OnClick) throw std::logic_error("no published handler " + std::string(on_click));
    }
    if (!on_mouse_move.empty() && !IsEntryHandler(control, on_mouse_move, "MouseMove")) {
        for (const auto& h : kMouseMoveHandlers)
            if (h.name == on_mouse_move)
                control.OnMouseMove = [this, fn = h.handler](TObject* s, TShiftState sh, int x, int y) {
                    (this->*fn)(s, sh, x, y);
                };
        if (!control.OnMouseMove) throw std::logic_error("no published handler " + std::string(on_mouse_move));
    }
}

void TInstallationForm::LoadLayout() {
    const FormLayout& form = kInstallationFormLayout;
    SetName("InstallationForm");
    SetDesignedPosition({form.left, form.top});
    SetCaption(std::string(form.caption));
    SetClientSize({form.client_width, form.client_height});
    SetColor(clBtnFace);
    Font().SetCharset(DEFAULT_CHARSET);
    Font().SetColor(clWindowText);
    Font().SetHeight(form.font_height);
    Font().SetName(form.font_name);
    Font().SetStyle(0);
    Icon().LoadFromBytes(DesignIconData());
    SetAppIcon(ApplicationIcon());
    SetPosition(TPosition::poScreenCenter);

    for (const ControlLayout& row : kInstallationControls) {
        TControl* control = nullptr;
        if (row.cls == ControlClass::Image) {
            auto& image = AddControl<TImage>();
            control = &image;
        } else {
            auto& label = AddControl<TLabel>();
            label.SetAutoSize(false);  // not while the layout is read
            label.SetTransparent(true);
            label.SetCaption(std::string(row.caption));
            control = &label;
        }
        control->SetVisible(false);
        control->SetName(std::string(row.name));
        control->SetBounds(row.left, row.top, row.width, row.height);
        if (!row.hint.empty()) control->SetHint(std::string(row.hint));
        if (row.show_hint) control->SetShowHint(true);
        BindEvents(*control, row.on_click, row.on_mouse_move);
    }

    // Bind the published fields to the controls of the same name.
    auto field = [this](std::string_view name) { return FindControl(std::string(name)); };
    BackGroundImage = static_cast<TImage*>(field("BackGroundImage"));
    TitleMessageLabel = static_cast<TLabel*>(field("TitleMessageLabel"));
    ExitLabel = static_cast<TLabel*>(field("ExitLabel"));
    TLabel** normal[] = {&NormalMessageLabel1, &NormalMessageLabel2, &NormalMessageLabel3, &NormalMessageLabel4,
                         &NormalMessageLabel5, &NormalMessageLabel6, &NormalMessageLabel7, &NormalMessageLabel8};
    TLabel** entries[] = {&InstallationMessageLabel1, &InstallationMessageLabel2, &InstallationMessageLabel3,
                          &InstallationMessageLabel4, &InstallationMessageLabel5, &InstallationMessageLabel6,
                          &InstallationMessageLabel7, &InstallationMessageLabel8};
    for (int n = 1; n <= 8; ++n) {
        m_text_lines[n - 1] = static_cast<TLabel*>(field("NormalMessageLabel" + std::to_string(n)));
        m_entries[n - 1] = static_cast<TLabel*>(field("InstallationMessageLabel" + std::to_string(n)));
        *normal[n - 1] = m_text_lines[n - 1];
        *entries[n - 1] = m_entries[n - 1];
        m_entries[n - 1]->OnClick = [this, n](TObject*) { EntryClick(n); };
        m_entries[n - 1]->OnMouseMove = [this, n](TObject*, TShiftState, int, int) { EntryMouseMove(n); };
    }

    OnKeyDown = [this](TObject*, int key, TShiftState shift) { KeyDown(key, shift); };
    OnKeyUp = [this](TObject*, int key, TShiftState shift) { KeyUp(key, shift); };
    DescribeToAssistiveTechnology();

    AdaptToScreen();
    // The layout keeps labels at their stored sizes while it is read; they
    // size themselves to their captions once it is complete.
    for (const auto& c : Controls())
        if (auto* label = dynamic_cast<TLabel*>(c.get())) label->SetAutoSize(true);
    Show();
}

// Read as the window is laid out: the title, the text lines, then the
// entries and the exit entry in the keys' order. The entries are buttons
// rather than links: most open a setup program, and a click never leaves the
// window for a page.
void TInstallationForm::DescribeToAssistiveTechnology() {
    using platform::AccessibleRole;
    std::vector<TAccessibleControl> controls{{TitleMessageLabel, AccessibleRole::StaticText, ""}};
    for (TLabel* line : m_text_lines) controls.push_back({line, AccessibleRole::StaticText, ""});
    for (TLabel* entry : m_entries) controls.push_back({entry, AccessibleRole::PushButton, "Open"});
    controls.push_back({ExitLabel, AccessibleRole::PushButton, "Close"});
    SetAccessibleControls(std::move(controls));
}

void TInstallationForm::AdaptToScreen() {
    const FormLayout& form = kInstallationFormLayout;
    const int ppi = Platform().PixelsPerInch();
    if (ppi != form.pixels_per_inch) Font().SetHeight(MulDiv(Font().Height(), ppi, form.pixels_per_inch));
    TRect r = Platform().ScreenCanvas().DrawText(Font().Handle(), {}, "0", {0, 0, 0, 0}, DT_CALCRECT | DT_NOPREFIX);
    const int text_height = r.Height();
    if (text_height == form.text_height || text_height <= 0) return;
    auto scale = [&](int v) { return MulDiv(v, text_height, form.text_height); };
    for (const auto& c : Controls())
        c->SetBounds(scale(c->Left()), scale(c->Top()), scale(c->Width()), scale(c->Height()));
    SetClientSize({scale(ClientWidth()), scale(ClientHeight())});
}

void TInstallationForm::Create() {
    LoadLayout();
    RunStartupPass();
}

void TInstallationForm::EntryClick(int n) {
    // The target stored at start-up; the file is not read again. A link goes
    // as it is, a path as the menu finds names written on Windows. What the
    // desktop cannot open comes back as an error of its own.
    const std::string& target = LaunchTarget(n);
    Platform().ShellOpen(IsUrl(target) ? target : MediaPath(target));
}

void TInstallationForm::ExitLabelClick(TObject*) { Close(); }

}  // namespace automenu
