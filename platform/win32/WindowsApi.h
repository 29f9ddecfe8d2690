// The Windows API for the Win32 back end. Our own headers come first: the
// Windows headers define macros (DT_*, COLOR_*, MK_*, DEFAULT_CHARSET) with
// the names and values our types also use, and macros (CreateWindow,
// DrawText, PeekMessage ...) that would rename our interface's methods.
#pragma once

#include "platform/Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef CreateFont
#undef CreateWindow
#undef DrawText
#undef PeekMessage
#undef PostMessage
#undef MessageBox
