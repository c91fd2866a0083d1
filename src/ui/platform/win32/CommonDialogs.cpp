#include "ui/platform/win32/WinApi.h"

#include "ui/platform/CommonDialogs.h"

#include <cstdint>

#include "framework/PathParts.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

int DefaultAnswer(UINT type) {
    if ((type & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    return (type & MB_DEFMASK) == MB_DEFBUTTON2 ? IDNO : IDYES;
}

namespace {

// The filter of the common dialogs: "Text Files (*.txt);;All Files (*)"
// becomes pairs of description and patterns, each ended by a zero.
std::wstring FilterOf(const std::string& filter) {
    std::wstring pairs;
    std::size_t start = 0;
    while (start < filter.size()) {
        std::size_t end = filter.find(";;", start);
        if (end == std::string::npos) {
            end = filter.size();
        }
        const std::string kind = filter.substr(start, end - start);
        const std::size_t open = kind.rfind('(');
        std::string patterns = open != std::string::npos && kind.back() == ')'
                                   ? kind.substr(open + 1, kind.size() - open - 2)
                                   : "*";
        for (std::size_t blank; (blank = patterns.find(' ')) != std::string::npos;) {
            patterns[blank] = ';';
        }
        if (patterns == "*") {
            patterns = "*.*";
        }
        pairs += Widen(kind) + L'\0' + Widen(patterns) + L'\0';
        start = end + 2;
    }
    return pairs + L'\0';
}

std::string RunFolderChooser(const FileDialogRequest& request) {
    const std::wstring title = Widen(request.title);
    BROWSEINFOW browse{};
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) {
        return std::string();
    }
    wchar_t path[MAX_PATH] = L"";
    const BOOL got = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return got ? Narrow(path) : std::string();
}

std::string RunFileChooser(const FileDialogRequest& request) {
    const std::wstring filter = FilterOf(request.filter);
    const std::wstring title = Widen(request.title);
    const std::wstring initialDir = Widen(request.initialDir);
    const std::wstring defaultExt = Widen(request.defaultExt);
    std::wstring file = Widen(request.proposedName);
    file.resize(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    // The caller asks about replacing a file; the dialogs leave the
    // current directory alone.
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER |
                   (request.open ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    const BOOL chosen = request.open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    return chosen ? Narrow(file.c_str()) : std::string();
}

}  // namespace

int ShowMessageBox(HWND hOwner, const std::string& text, const std::string& caption, UINT type,
                   const std::string& detail, const std::string& details) {
    if (ScriptedUser* user = ScriptedUser::s_pInstalled) {
        const int answer = user->Answer(MessageBoxRequest{text, caption, detail, details, type});
        if (details.empty() || !MessageBoxShowHookSet()) {
            return answer;
        }
    }
    if (!details.empty()) {
        return ShowDetailsBox(hOwner, Widen(detail.empty() ? text : text + "\n\n" + detail),
                              Widen(caption), type, Widen(details));
    }
    const std::wstring shown = detail.empty() ? Widen(text) : Widen(text + "\n\n" + detail);
    const int pressed = MessageBoxW(hOwner, shown.c_str(), Widen(caption).c_str(), type);
    if ((type & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    return pressed == IDYES ? IDYES : IDNO;
}

int AfxMessageBox(const std::string& text, const std::string& caption, UINT type,
                  const std::string& detail, const std::string& details) {
    return ShowMessageBox(GetActiveWindow(), text, caption, type, detail, details);
}

std::string RunFileDialog(const FileDialogRequest& request) {
    std::string path;
    if (ScriptedUser* user = ScriptedUser::s_pInstalled) {
        path = user->Answer(request);
    } else {
        path = request.folder ? RunFolderChooser(request) : RunFileChooser(request);
    }
    return path.empty() ? std::string() : FullPathOf(path);
}
