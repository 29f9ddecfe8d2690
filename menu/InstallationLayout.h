// The menu window's design-time layout, as data: the window's properties and
// its nineteen controls in creation order, with their events named by handler.
#pragma once

#include <array>
#include <string_view>

namespace automenu {

enum class ControlClass { Image, Label };

struct ControlLayout {
    ControlClass cls;
    std::string_view name;
    int left, top, width, height;
    std::string_view caption;  // labels only
    std::string_view hint;     // empty: none
    bool show_hint;            // the hint shows on this control
    std::string_view on_click;       // handler name, empty: none
    std::string_view on_mouse_move;  // handler name, empty: none
};

struct FormLayout {
    std::string_view caption = "Installation";
    int left = 235, top = 183;
    int client_width = 634, client_height = 454;
    int font_height = -11;
    std::string_view font_name = "MS Sans Serif";
    int pixels_per_inch = 96;
    int text_height = 13;
};

inline constexpr FormLayout kInstallationFormLayout{};

// Every control is created invisible; labels are transparent.
inline constexpr std::array<ControlLayout, 19> kInstallationControls{{
    {ControlClass::Image, "BackGroundImage", 0, 0, 632, 453, "", "", false, "", "BackGroundImageMouseMove"},
    {ControlClass::Label, "TitleMessageLabel", 16, 16, 89, 13, "TitleMessageLabel", "", false, "", ""},
    {ControlClass::Label, "ExitLabel", 552, 408, 43, 13, "ExitLabel", "Press to exit.", true, "ExitLabelClick",
     "ExitLabelMouseMove"},
    {ControlClass::Label, "NormalMessageLabel1", 16, 40, 108, 13, "NormalMessageLabel1", "", false, "", ""},
    {ControlClass::Label, "NormalMessageLabel2", 16, 56, 108, 13, "NormalMessageLabel2", "", false, "", ""},
    {ControlClass::Label, "NormalMessageLabel3", 16, 72, 108, 13, "NormalMessageLabel3", "", false, "", ""},
    {ControlClass::Label, "NormalMessageLabel4", 16, 88, 108, 13, "NormalMessageLabel4", "", false, "", ""},
    {ControlClass::Label, "NormalMessageLabel5", 16, 104, 108, 13, "NormalMessageLabel5", "", false, "", ""},
    {ControlClass::Label, "NormalMessageLabel6", 16, 120, 108, 13, "NormalMessageLabel6", "", false, "", ""},
    {ControlClass::Label, "NormalMessageLabel7", 16, 136, 108, 13, "NormalMessageLabel7", "", false, "", ""},
    {ControlClass::Label, "NormalMessageLabel8", 16, 152, 108, 13, "NormalMessageLabel8", "", false, "", ""},
    {ControlClass::Label, "InstallationMessageLabel1", 16, 176, 125, 13, "InstallationMessageLabel1",
     "Press to install.", true, "InstallationMessageLabel1Click", "InstallationMessageLabel1MouseMove"},
    {ControlClass::Label, "InstallationMessageLabel2", 16, 192, 125, 13, "InstallationMessageLabel2",
     "Press to install.", true, "InstallationMessageLabel2Click", "InstallationMessageLabel2MouseMove"},
    {ControlClass::Label, "InstallationMessageLabel3", 16, 208, 125, 13, "InstallationMessageLabel3",
     "Press to install.", true, "InstallationMessageLabel3Click", "InstallationMessageLabel3MouseMove"},
    {ControlClass::Label, "InstallationMessageLabel4", 16, 224, 125, 13, "InstallationMessageLabel4",
     "Press to install.", true, "InstallationMessageLabel4Click", "InstallationMessageLabel4MouseMove"},
    {ControlClass::Label, "InstallationMessageLabel5", 16, 240, 125, 13, "InstallationMessageLabel5",
     "Press to install.", true, "InstallationMessageLabel5Click", "InstallationMessageLabel5MouseMove"},
    {ControlClass::Label, "InstallationMessageLabel6", 16, 256, 125, 13, "InstallationMessageLabel6",
     "Press to install.", true, "InstallationMessageLabel6Click", "InstallationMessageLabel6MouseMove"},
    {ControlClass::Label, "InstallationMessageLabel7", 16, 272, 125, 13, "InstallationMessageLabel7",
     "Press to open.", true, "InstallationMessageLabel7Click", "InstallationMessageLabel7MouseMove"},
    {ControlClass::Label, "InstallationMessageLabel8", 16, 288, 125, 13, "InstallationMessageLabel8",
     "Press to install.", true, "InstallationMessageLabel8Click", "InstallationMessageLabel8MouseMove"},
}};

}  // namespace automenu
