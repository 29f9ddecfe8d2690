#include "PassChecker.h"

#include <utility>
#include <vector>

namespace automenu::tool {

namespace {

TControl* ControlOf(const TInstallationForm& form, const LabelSpec& label) {
    if (label.number == 0) return label.clickable ? form.ExitLabel : form.TitleMessageLabel;
    return label.clickable ? form.InstallationMessageLabel(label.number) : form.NormalMessageLabel(label.number);
}

std::string RectText(const TRect& r) {
    std::string text = "(";
    text += std::to_string(r.left) + "," + std::to_string(r.top);
    text += ")-(";
    text += std::to_string(r.right) + "," + std::to_string(r.bottom);
    text += ")";
    return text;
}

std::string InnerAreaText(const TRect& inner) {
    return "the window's inner area (" + std::to_string(inner.right) + " x " + std::to_string(inner.bottom) + ")";
}

}  // namespace

int PassChecker::LineOfFailure(const PassFailure& f) const {
    if (f.section.empty()) return 0;
    return m_file.LineOf(f.section, f.key);
}

void PassChecker::Run(TargetChecker& pictures) {
    MenuSimulation menu(m_file.Directory());
    if (!menu.InDirectory()) {
        m_findings.Add(Severity::Error, 0, "cannot enter the directory " + Quote(m_file.Directory()));
        return;
    }
    pictures.ProbePictures();
    if (auto failure = menu.StartUp()) {
        m_findings.Add(Severity::Error, LineOfFailure(*failure),
                       "the menu stops at start-up with " + Quote(failure->box_text));
        return;
    }
    const TInstallationForm& form = *menu.Form();
    CheckGeometry(form);
    // Drawing the window builds what loading only checks (an icon's image).
    if (auto failure = menu.Paint())
        m_findings.Add(Severity::Error, m_file.LineOf(KeyId::BackgroundName),
                       "the menu cannot draw its window: it shows " + Quote(failure->box_text) +
                           " and leaves the picture out");

    std::vector<std::pair<const LabelSpec*, TRect>> hovered;
    for (const LabelSpec& label : LabelSpecs()) {
        if (!label.clickable) continue;
        TControl* control = ControlOf(form, label);
        if (!control->Visible()) continue;
        auto failure = label.number ? menu.MoveOverEntry(label.number) : menu.MoveOverExit();
        if (failure)
            m_findings.Add(Severity::Error, LineOfFailure(*failure),
                           "every mouse move over " + label.what + " fails with " + Quote(failure->box_text));
        if (!failure && control->Visible()) hovered.emplace_back(&label, control->BoundsRect());
    }
    for (const auto& [label, rect] : hovered) CheckInside(form, *label, rect, " when hovered");
    if (form.BackGroundImage->Visible()) {
        if (auto failure = menu.MoveOverBackground())
            m_findings.Add(Severity::Error, LineOfFailure(*failure),
                           "every mouse move over the background picture fails with " + Quote(failure->box_text));
    }
}

void PassChecker::CheckInside(const TInstallationForm& form, const LabelSpec& label, const TRect& r,
                              const char* when) {
    const TRect inner{0, 0, form.ClientWidth(), form.ClientHeight()};
    if (r.left >= inner.left && r.top >= inner.top && r.right <= inner.right && r.bottom <= inner.bottom) return;
    m_findings.Add(Severity::Warning, m_file.LineOf(label.Section(), label.normal->top),
                   label.what + std::string(when) + " at " + RectText(r) + " reaches outside " + InnerAreaText(inner));
}

void PassChecker::CheckGeometry(const TInstallationForm& form) {
    const TRect inner{0, 0, form.ClientWidth(), form.ClientHeight()};
    if (form.BackGroundImage->Visible()) {
        const TRect r = form.BackGroundImage->BoundsRect();
        if (r.left < 0 || r.top < 0 || r.right > inner.right || r.bottom > inner.bottom)
            m_findings.Add(Severity::Warning, m_file.LineOf(KeyId::BackgroundHeight),
                           "the background picture at " + RectText(r) + " reaches outside " + InnerAreaText(inner));
    }
    std::vector<std::pair<const LabelSpec*, TRect>> entries;
    for (const LabelSpec& label : LabelSpecs()) {
        TControl* control = ControlOf(form, label);
        if (!control->Visible()) continue;
        CheckInside(form, label, control->BoundsRect(), "");
        if (label.clickable) entries.emplace_back(&label, control->BoundsRect());
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (std::size_t j = i + 1; j < entries.size(); ++j)
            if (entries[i].second.Intersects(entries[j].second))
                m_findings.Add(Severity::Warning,
                               m_file.LineOf(entries[j].first->Section(), entries[j].first->normal->top),
                               entries[i].first->what + " and " + entries[j].first->what +
                                   " overlap: moving from one onto the other leaves both in their hover look");
    if (!entries.empty() && !form.BackGroundImage->Visible())
        m_findings.Add(Severity::Warning, m_file.LineOf(KeyId::BackgroundUse),
                       "no background picture is shown: only mouse moves over it return entries to their normal "
                       "look, so a hovered entry keeps its hover look");
}

}  // namespace automenu::tool
