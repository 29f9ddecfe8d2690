#include "formats/TextEncoding.h"

#include "formats/TextDecoding.h"

namespace automenu {

TextEncoding DetectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return TextEncoding::Utf16Le;
    if (bytes.starts_with("\xFE\xFF")) return TextEncoding::Utf16Be;
    if (bytes.starts_with("\xEF\xBB\xBF")) return TextEncoding::Utf8WithMark;
    if (!IsAscii(bytes) && IsValidUtf8(bytes)) return TextEncoding::Utf8;
    return TextEncoding::Ansi;
}

std::size_t ByteOrderMarkLength(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8WithMark:
            return 3;
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            return 2;
        case TextEncoding::Ansi:
        case TextEncoding::Utf8:
            break;
    }
    return 0;
}

std::string_view TextEncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ansi:
            return "ANSI code page";
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Utf8WithMark:
            return "UTF-8 with byte-order mark";
        case TextEncoding::Utf16Le:
            return "UTF-16 LE";
        case TextEncoding::Utf16Be:
            return "UTF-16 BE";
    }
    return "";
}

}  // namespace automenu
