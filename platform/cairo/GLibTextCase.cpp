#include "platform/TextCase.h"

#include <glib.h>

#include "formats/TextDecoding.h"

namespace automenu::platform {

namespace {

template <typename Change>
std::string ChangeCase(std::string_view utf8, const Change& change) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(utf8, i, c);
        if (length == 0) {
            out += utf8[i++];
            continue;
        }
        AppendUtf8(out, static_cast<char32_t>(change(static_cast<gunichar>(c))));
        i += length;
    }
    return out;
}

}  // namespace

std::string LowerCase(std::string_view utf8) { return ChangeCase(utf8, g_unichar_tolower); }
std::string UpperCase(std::string_view utf8) { return ChangeCase(utf8, g_unichar_toupper); }

}  // namespace automenu::platform
