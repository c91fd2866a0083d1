// The Windows headers as the Win32 twin includes them. The dialog layer
// names its own icon handle HICON (ui/platform/DialogTemplate.h); the
// system's is called Win32Icon here, so that both can be seen in one file.
// Include this before any other header of the twin.
#pragma once

#ifdef HICON
#error "ui/platform/win32/WinApi.h must come before any header that defines HICON"
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define HICON Win32Icon
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on
#undef HICON
#undef LoadIcon
#undef LoadString
#undef MessageBox
#undef GetWindowText
#undef SetWindowText
#undef GetDlgItemText
#undef SetDlgItemText
#undef DragAcceptFiles
// The layer's own constants of the same values (ui/platform/WinDefs.h,
// Menu.h).
#undef IDOK
#undef IDCANCEL
#undef IDYES
#undef IDNO
#undef MB_OK
#undef MB_YESNO
#undef MB_TYPEMASK
#undef MB_ICONQUESTION
#undef MB_ICONEXCLAMATION
#undef MB_ICONMASK
#undef MB_DEFBUTTON1
#undef MB_DEFBUTTON2
#undef MB_DEFMASK
#undef CB_ERR
#undef FCONTROL
#undef FSHIFT
#undef FALT
#undef VK_F1
