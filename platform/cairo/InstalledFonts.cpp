#include "platform/InstalledFonts.h"

#include <fontconfig/fontconfig.h>
#include <glib.h>

#include <algorithm>
#include <map>
#include <memory>

#include "formats/TextDecoding.h"

namespace automenu::platform {

namespace {

// What fontconfig gives for a family name, as pango asks for it.
std::string MatchedFamily(const std::string& family) {
    struct PatternDeleter {
        void operator()(FcPattern* p) const { FcPatternDestroy(p); }
    };
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    if (!pattern) return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, PatternDeleter> match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8* name = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &name) != FcResultMatch || !name) return {};
    return reinterpret_cast<const char*>(name);
}

struct CharSetDeleter {
    void operator()(FcCharSet* c) const { FcCharSetDestroy(c); }
};
using CharSetPtr = std::unique_ptr<FcCharSet, CharSetDeleter>;

// Every character some installed font has: pango falls back through all of
// them for a character the named face lacks.
const FcCharSet* InstalledCharacters() {
    static const CharSetPtr all = [] {
        CharSetPtr set(FcCharSetCreate());
        for (const FcSetName which : {FcSetSystem, FcSetApplication}) {
            const FcFontSet* fonts = FcConfigGetFonts(nullptr, which);
            for (int i = 0; fonts && i < fonts->nfont; ++i) {
                FcCharSet* charset = nullptr;
                if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &charset) == FcResultMatch && charset)
                    FcCharSetMerge(set.get(), charset, nullptr);
            }
        }
        return set;
    }();
    return all.get();
}

// A script as an author names it; its ISO 15924 code for the rarer ones.
std::string ScriptName(GUnicodeScript script) {
    static const std::map<GUnicodeScript, const char*> names = {
        {G_UNICODE_SCRIPT_ARABIC, "Arabic"},
        {G_UNICODE_SCRIPT_ARMENIAN, "Armenian"},
        {G_UNICODE_SCRIPT_BENGALI, "Bengali"},
        {G_UNICODE_SCRIPT_CYRILLIC, "Cyrillic"},
        {G_UNICODE_SCRIPT_DEVANAGARI, "Devanagari"},
        {G_UNICODE_SCRIPT_ETHIOPIC, "Ethiopic"},
        {G_UNICODE_SCRIPT_GEORGIAN, "Georgian"},
        {G_UNICODE_SCRIPT_GREEK, "Greek"},
        {G_UNICODE_SCRIPT_GUJARATI, "Gujarati"},
        {G_UNICODE_SCRIPT_GURMUKHI, "Gurmukhi"},
        {G_UNICODE_SCRIPT_HAN, "Chinese (Han)"},
        {G_UNICODE_SCRIPT_HANGUL, "Korean (Hangul)"},
        {G_UNICODE_SCRIPT_HEBREW, "Hebrew"},
        {G_UNICODE_SCRIPT_HIRAGANA, "Japanese (Hiragana)"},
        {G_UNICODE_SCRIPT_KATAKANA, "Japanese (Katakana)"},
        {G_UNICODE_SCRIPT_KANNADA, "Kannada"},
        {G_UNICODE_SCRIPT_KHMER, "Khmer"},
        {G_UNICODE_SCRIPT_LAO, "Lao"},
        {G_UNICODE_SCRIPT_LATIN, "Latin"},
        {G_UNICODE_SCRIPT_MALAYALAM, "Malayalam"},
        {G_UNICODE_SCRIPT_MYANMAR, "Myanmar"},
        {G_UNICODE_SCRIPT_SINHALA, "Sinhala"},
        {G_UNICODE_SCRIPT_TAMIL, "Tamil"},
        {G_UNICODE_SCRIPT_TELUGU, "Telugu"},
        {G_UNICODE_SCRIPT_THAI, "Thai"},
        {G_UNICODE_SCRIPT_TIBETAN, "Tibetan"},
        {G_UNICODE_SCRIPT_COMMON, "symbol"},
    };
    if (const auto it = names.find(script); it != names.end()) return it->second;
    const guint32 code = g_unicode_script_to_iso15924(script);
    return std::string{static_cast<char>(code >> 24), static_cast<char>(code >> 16), static_cast<char>(code >> 8),
                       static_cast<char>(code)};
}

// The scripts of the characters of `text` that no installed font has, in the
// order they first come; nothing when every character can be drawn.
std::vector<std::string> MissingScriptsOf(std::string_view text) {
    std::vector<std::string> scripts;
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(text, i, c);
        i += length ? length : 1;
        // Controls and format characters (direction marks, joiners) are not drawn.
        if (length == 0 || c < 0x20 || g_unichar_type(c) == G_UNICODE_FORMAT ||
            g_unichar_type(c) == G_UNICODE_CONTROL || FcCharSetHasChar(InstalledCharacters(), c))
            continue;
        std::string name = ScriptName(g_unichar_get_script(c));
        if (std::find(scripts.begin(), scripts.end(), name) == scripts.end()) scripts.push_back(std::move(name));
    }
    return scripts;
}

}  // namespace

std::string FaceDrawnFor(const std::string& family) { return MatchedFamily(family); }

std::vector<std::string> ScriptsWithoutFont(std::string_view text) { return MissingScriptsOf(text); }

}  // namespace automenu::platform
