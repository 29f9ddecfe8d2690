#include "config/TCustomIniFile.h"

#include <utility>

namespace automenu {

namespace {
LookUpObserver& Observer() {
    static LookUpObserver observer;
    return observer;
}
}  // namespace

ScopedLookUpObserver::ScopedLookUpObserver(LookUpObserver observer) : m_previous(std::move(Observer())) {
    Observer() = std::move(observer);
}

ScopedLookUpObserver::~ScopedLookUpObserver() { Observer() = std::move(m_previous); }

std::string TCustomIniFile::LookUpSetting(std::string_view section, std::string_view key,
                                          std::string_view default_text) {
    if (const LookUpObserver& observer = Observer()) observer(section, key);
    return ReadString(section, key, default_text);
}

}  // namespace automenu
