// The system's ANSI code page as the framework's tables (formats/CodePage.h),
// for the files the Windows program reads with its own reader.
#pragma once

#include "formats/CodePage.h"

namespace automenu::platform {

// Built once from MultiByteToWideChar for the code page GetACP names; a code
// page the tables do not know (UTF-8 as the system's code page, say) gives
// Windows-1252.
const CodePage& SystemCodePage();

// Code page `number` (CodePage::IsKnown) from MultiByteToWideChar, built once
// per process; Windows-1252 for one the system cannot convert.
const CodePage& NumberedCodePage(unsigned number);

}  // namespace automenu::platform
