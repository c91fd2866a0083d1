#include "ui/platform/win32/WinApi.h"

#include "ui/platform/win32/TemplateWriter.h"

#include "ui/platform/win32/WideText.h"

namespace {

// The count of controls lies at this word of the template.
constexpr std::size_t kCountWord = 8;

DWORD StyleOf(const DialogControl& control) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    if ((control.style & CS_TABSTOP) != 0) {
        style |= WS_TABSTOP;
    }
    switch (control.kind) {
        case ControlKind::PushButton:
            return style |
                   ((control.style & CS_DEFPUSHBUTTON) != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                   BS_NOTIFY;  // BN_SETFOCUS: the focused button becomes the default
        case ControlKind::GroupBox:
            return style | BS_GROUPBOX;
        case ControlKind::StaticText:
            if ((control.style & CS_PATHELLIPSIS) != 0) {
                // One line, elided in the middle; SS_NOTIFY lets its tooltip
                // (the whole path) see the mouse.
                return style | SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS | SS_NOPREFIX | SS_NOTIFY;
            }
            return style | SS_LEFT | ((control.style & CS_NOPREFIX) != 0 ? SS_NOPREFIX : 0);
        case ControlKind::Icon:
            return style | SS_ICON;
        case ControlKind::ComboBox:
            return style | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
        case ControlKind::Edit:
            return style | ES_AUTOHSCROLL | ((control.style & CS_BORDER) != 0 ? WS_BORDER : 0);
    }
    return style;
}

WORD AtomOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
        case ControlKind::GroupBox:
            return kButtonAtom;
        case ControlKind::ComboBox:
            return kComboAtom;
        case ControlKind::Edit:
            return kEditAtom;
        case ControlKind::StaticText:
        case ControlKind::Icon:
            break;
    }
    return kStaticAtom;
}

}  // namespace

CTemplateWriter::CTemplateWriter(DWORD style, DWORD exStyle, int cx, int cy,
                                 const std::wstring& caption) {
    Word(1);       // dlgVer
    Word(0xFFFF);  // signature: extended template
    Dword(0);      // helpID
    Dword(exStyle);
    Dword(style | DS_SHELLFONT);
    Word(0);  // cDlgItems, counted by AddControl
    Word(0);  // x, y: centred by DS_CENTER or placed by the caller
    Word(0);
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(caption);
    Word(kDialogFontPoints);
    Word(400);  // weight
    Word(0);    // italic, charset
    Text(L"MS Shell Dlg");
}

void CTemplateWriter::Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
}

void CTemplateWriter::Text(const std::wstring& text) {
    m_words.insert(m_words.end(), text.begin(), text.end());
    Word(0);
}

void CTemplateWriter::AlignDword() {
    if (m_words.size() % 2 != 0) {
        Word(0);
    }
}

void CTemplateWriter::AddControl(DWORD style, DWORD exStyle, int x, int y, int cx, int cy, int id,
                                 WORD atom, const wchar_t* className, const std::wstring& text,
                                 WORD resource) {
    AlignDword();
    Dword(0);  // helpID
    Dword(exStyle);
    Dword(style);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Dword(static_cast<DWORD>(id));
    if (atom != 0) {
        Word(0xFFFF);
        Word(atom);
    } else {
        Text(className);
    }
    if (resource != 0) {
        Word(0xFFFF);
        Word(resource);
    } else {
        Text(text);
    }
    Word(0);  // no creation data
    ++m_words[kCountWord];
}

CTemplateWriter WriteDialogTemplate(const DialogTemplate& dlgTemplate) {
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    if ((dlgTemplate.style & DS_MINIMIZEBOX) != 0) {
        style |= WS_MINIMIZEBOX;
    }
    const DWORD exStyle = (dlgTemplate.style & DS_APPWINDOW) != 0 ? WS_EX_APPWINDOW : 0;
    CTemplateWriter writer(style, exStyle, dlgTemplate.cx, dlgTemplate.cy,
                           Widen(dlgTemplate.caption));
    for (const DialogControl& control : dlgTemplate.controls) {
        const bool icon = control.kind == ControlKind::Icon;
        writer.AddControl(StyleOf(control), 0, control.x, control.y, control.cx, control.cy,
                          control.id, AtomOf(control.kind), nullptr,
                          Widen(control.text != nullptr ? control.text : ""),
                          icon ? static_cast<WORD>(control.resource) : 0);
    }
    return writer;
}
