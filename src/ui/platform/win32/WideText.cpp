#include "ui/platform/win32/WinApi.h"

#include "ui/platform/win32/WideText.h"

#include "ui/platform/win32/DialogWindow.h"

#include "framework/TextClass.h"

std::wstring Widen(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (needed <= 0) {
        return WidenRecordText(text);  // not UTF-8: byte for byte
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), needed);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}

std::wstring WidenRecordText(const std::string& text) {
    const int size = static_cast<int>(text.size());
    if (!text.empty() &&
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0) > 0) {
        return Widen(text);
    }
    std::wstring latin1;
    for (const char c : text) {
        latin1.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return latin1;
}

bool NarrowRecordText(const std::wstring& text, std::string& out, std::string& offending,
                      unsigned& code) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (!IsPrintableAscii(static_cast<char16_t>(unit))) {
            // A surrogate pair is one character to the user.
            const bool pair =
                IS_HIGH_SURROGATE(unit) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
            offending = Narrow(text.substr(i, pair ? 2 : 1));
            code = pair ? 0x10000u + ((static_cast<unsigned>(unit) - 0xD800u) << 10) +
                              (static_cast<unsigned>(text[i + 1]) - 0xDC00u)
                        : static_cast<unsigned>(unit);
            return false;
        }
        bytes.push_back(static_cast<char>(unit));
    }
    out = std::move(bytes);
    return true;
}

std::wstring WindowTextOf(HWND hWnd) {
    const int length = GetWindowTextLengthW(hWnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}
