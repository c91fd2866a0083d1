// What the Windows side of the framework shares: UTF-8 inside the program,
// UTF-16 at the system, and the system's errors as errno values. Only
// *Win32.cpp files include this.
#pragma once

#include <string>
#include <string_view>

#include "framework/Status.h"

// UTF-16 of the UTF-8 TEXT (bytes that are not UTF-8 become U+FFFD).
std::wstring WideFromUtf8(std::string_view text);
// UTF-8 of the UTF-16 TEXT.
std::string Utf8FromWide(std::wstring_view text);

// The system's name for PATH: UTF-16, every '/' a '\', and a path too long
// for the classic 260 characters made absolute with the "\\?\" prefix
// ("\\?\UNC\" for a UNC path), so that it reaches the file where the system
// allows long paths.
std::wstring WidePath(const std::string& path);

// The errno value that stands for the Windows error ERROR.
int ErrnoFromWin32(unsigned long error);
// A Status for the Windows error ERROR: the errno's text, or for a file
// another program holds open without sharing it "Is open in another
// program" (errno EBUSY).
Status StatusFromWin32(unsigned long error);
// The same for GetLastError().
Status LastWin32Status();
