#include "PassChecker.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/AsciiCase.h"

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

std::optional<KeyOverride> PassChecker::GoingOnPast(const PassFailure& failure) {
    if (failure.section.empty()) return std::nullopt;
    const SchemaKey* key = FindSchemaKey(failure.section, failure.key, NameMatch::IgnoreCase);
    if (!key) return std::nullopt;
    if (key->kind == ValueKind::Integer || key->kind == ValueKind::Size) {
        // The number the author most likely meant: "480px" as 480.
        const std::string value = m_file.Value(key->section, key->key);
        std::size_t end = value.find_first_not_of(' ');
        if (end != std::string::npos && (value[end] == '-' || value[end] == '+')) ++end;
        end = value.find_first_not_of("0123456789", end == std::string::npos ? value.size() : end);
        const std::string digits = value.substr(0, end == std::string::npos ? value.size() : end);
        return KeyOverride{key->section, key->key, ToInteger(digits) ? digits : std::string("0")};
    }
    // A picture that cannot be loaded is left out.
    for (const KeyId use : {KeyId::LogoUse, KeyId::BackgroundUse}) {
        if (!EqualsIgnoringCase(key->section, KeyOf(use).section)) continue;
        if (use == KeyId::BackgroundUse) m_background_left_out = true;
        return KeyOverride{KeyOf(use).section, KeyOf(use).key, "NO"};
    }
    return std::nullopt;
}

void PassChecker::Run(TargetChecker& pictures) {
    std::vector<KeyOverride> overrides;
    // Each start-up error is reported; the menu is then started again with
    // the failing value replaced, so that what it would show once that is
    // fixed is reported too.
    for (int tries = 0; tries < kMaxStartUpErrors; ++tries) {
        MenuSimulation menu(m_file.Directory(), overrides);
        if (!menu.InDirectory()) {
            m_findings.Add(Severity::Error, 0, "cannot enter the directory " + Quote(m_file.Directory()));
            return;
        }
        if (tries == 0) pictures.ProbePictures();
        if (auto failure = menu.StartUp()) {
            m_findings.Add(Severity::Error, LineOfFailure(*failure), StartUpError(failure->box_text));
            const std::optional<KeyOverride> next = GoingOnPast(*failure);
            if (!next) return;
            for (const KeyOverride& o : overrides)
                if (EqualsIgnoringCase(o.section, next->section) && EqualsIgnoringCase(o.key, next->key)) return;
            overrides.push_back(*next);
            continue;
        }
        RunStarted(menu);
        return;
    }
}

void PassChecker::RunStarted(MenuSimulation& menu) {
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
        // The inner area differs with the frame each system draws, so a
        // background up to the window's outer size is how an author covers it
        // everywhere; only what lies beyond that is never seen.
        const TRect r = form.BackGroundImage->BoundsRect();
        const TRect outer{0, 0, std::max(form.Width(), inner.right), std::max(form.Height(), inner.bottom)};
        if (r.left < 0 || r.top < 0 || r.right > outer.right || r.bottom > outer.bottom)
            m_findings.Add(Severity::Warning, m_file.LineOf(KeyId::BackgroundHeight),
                           "the background picture at " + RectText(r) + " reaches outside the window (" +
                               std::to_string(outer.right) + " x " + std::to_string(outer.bottom) + ")");
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
    if (!entries.empty() && !form.BackGroundImage->Visible() && !m_background_left_out)
        m_findings.Add(Severity::Warning, m_file.LineOf(KeyId::BackgroundUse),
                       "no background picture is shown: only mouse moves over it return entries to their normal "
                       "look, so a hovered entry keeps its hover look");
}

}  // namespace automenu::tool
