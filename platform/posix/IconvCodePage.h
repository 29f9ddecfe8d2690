// Windows' ANSI code pages on a POSIX system: their tables are built from the
// C library's converters (iconv), which agree with Windows wherever they have
// a character (formats/CodePage.h fills in the rest).
#pragma once

#include "formats/CodePage.h"

namespace automenu::platform {

// Code page `number` (CodePage::IsKnown), built once per process. Without a
// converter for it in the C library (some systems install the converters of
// East Asian code pages separately), Windows-1252.
const CodePage& CodePageFromIconv(unsigned number);

// The code page Windows would read a file in on the user's PC: the one of
// the locale in the environment, or the one AUTOMENU_CODEPAGE names
// (ChooseAnsiCodePage). Asked anew on each call.
const CodePage& LocaleCodePage();

}  // namespace automenu::platform
