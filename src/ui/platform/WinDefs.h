// The types, identifiers and flags of the Windows dialog framework that the
// dialogs are written against; each twin of the layer (qt/ on Qt) gives
// them meaning.
#pragma once

#include <cstdint>

#include "framework/Types.h"

using UINT = std::uint32_t;
#if defined(_WIN32) && !defined(_WIN64)
using LPARAM = long;  // as the system's headers have it on 32-bit Windows
#else
using LPARAM = std::intptr_t;
#endif
using INT_PTR = std::intptr_t;

// A control without an identifier of its own (group boxes, labels).
inline constexpr int IDC_STATIC = -1;

// Standard commands, which are also the results of modal dialogs and
// message boxes.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Message box types: one button set, one icon and one default button.
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_YESNO = 0x0004;
inline constexpr UINT MB_TYPEMASK = 0x000F;
inline constexpr UINT MB_ICONQUESTION = 0x0020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONMASK = 0x00F0;
inline constexpr UINT MB_DEFBUTTON1 = 0x0000;
inline constexpr UINT MB_DEFBUTTON2 = 0x0100;
inline constexpr UINT MB_DEFMASK = 0x0F00;

// What a combo box answers when there is no such entry.
inline constexpr int CB_ERR = -1;
