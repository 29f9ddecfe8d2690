#include "platform/CodePageCache.h"

#include <map>
#include <mutex>

namespace automenu::platform {

const CodePage& CachedCodePage(unsigned number, std::unique_ptr<CodePage> (*build)(unsigned number)) {
    if (number == 1252 || !CodePage::IsKnown(number)) return CodePage::Windows1252();
    static std::mutex mutex;
    static std::map<unsigned, std::unique_ptr<CodePage>> built;
    const std::lock_guard lock(mutex);
    auto [it, added] = built.try_emplace(number);
    if (added) it->second = build(number);
    return it->second ? *it->second : CodePage::Windows1252();
}

}  // namespace automenu::platform
