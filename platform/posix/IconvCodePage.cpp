#include "platform/posix/IconvCodePage.h"

#include <iconv.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/CodePageCache.h"

namespace automenu::platform {

namespace {

// One conversion from a code page to UTF-16, asked one character at a time.
class Iconv {
public:
    explicit Iconv(const std::string& from) : m_cd(::iconv_open("UTF-16LE", from.c_str())) {}
    ~Iconv() {
        if (Valid()) ::iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The one UTF-16 code unit of `bytes`, or nothing.
    std::optional<char16_t> Convert(std::string_view bytes) const {
        ::iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char input[2] = {};
        bytes.copy(input, sizeof input);
        char* in = input;
        std::size_t in_left = std::min(bytes.size(), sizeof input);
        unsigned char output[8] = {};
        char* out = reinterpret_cast<char*>(output);
        std::size_t out_left = sizeof output;
        if (::iconv(m_cd, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1) || in_left != 0)
            return std::nullopt;
        // Vietnamese holds a letter back for a combining mark that may follow.
        if (::iconv(m_cd, nullptr, nullptr, &out, &out_left) == static_cast<std::size_t>(-1)) return std::nullopt;
        if (sizeof output - out_left != 2) return std::nullopt;
        return static_cast<char16_t>(output[0] | (output[1] << 8));
    }

private:
    iconv_t m_cd;
};

std::unique_ptr<CodePage> Build(unsigned number) {
    const Iconv converter("CP" + std::to_string(number));
    if (!converter.Valid()) return nullptr;
    return std::make_unique<CodePage>(number, [&](std::string_view bytes) { return converter.Convert(bytes); });
}

}  // namespace

const CodePage& CodePageFromIconv(unsigned number) { return CachedCodePage(number, Build); }

const CodePage& LocaleCodePage() {
    LocaleSettings settings;
    settings.override_code_page = std::getenv(kCodePageVariable);
    settings.lc_all = std::getenv("LC_ALL");
    settings.lc_ctype = std::getenv("LC_CTYPE");
    settings.lang = std::getenv("LANG");
    return CodePageFromIconv(ChooseAnsiCodePage(settings));
}

}  // namespace automenu::platform
