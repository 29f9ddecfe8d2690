// The integer conversion on any text: a value or EConvertError, and an
// accepted plain decimal text reads back as the same number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/Exceptions.h"
#include "config/ValueRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::int32_t value = automenu::SettingToInteger(text);
        if (text.find_first_not_of(" 0123456789") == std::string_view::npos) {
            std::string_view digits = text.substr(text.find_first_not_of(' '));
            while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
            if (std::to_string(value) != digits) std::abort();
        }
    } catch (const automenu::EConvertError& e) {
        if (e.Message().size() != size + 31) std::abort();
    }
    return 0;
}
