// An extended dialog template (DLGTEMPLATEEX) written in memory, so that
// the windows are made from the program's templates as data
// (ui/platform/DialogTemplate.h), their one home, and from nothing else.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/platform/DialogTemplate.h"

class CTemplateWriter {
public:
    // The dialog itself: STYLE gets DS_SHELLFONT (the desktop's dialog
    // font, 8 points, in which the dialog units are measured).
    CTemplateWriter(DWORD style, DWORD exStyle, int cx, int cy, const std::wstring& caption);

    // A control of the predefined class ATOM (0x80 button ... 0x85 combo
    // box) or, when ATOM is 0, of the class CLASSNAME; its text TEXT, or
    // the resource RESOURCE when it is not 0 (an icon).
    void AddControl(DWORD style, DWORD exStyle, int x, int y, int cx, int cy, int id, WORD atom,
                    const wchar_t* className, const std::wstring& text, WORD resource = 0);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value);
    void Text(const std::wstring& text);
    void AlignDword();

    std::vector<WORD> m_words;
};

// The size of the dialogs' font, in points.
inline constexpr WORD kDialogFontPoints = 8;

// Predefined control classes in a template.
inline constexpr WORD kButtonAtom = 0x0080;
inline constexpr WORD kEditAtom = 0x0081;
inline constexpr WORD kStaticAtom = 0x0082;
inline constexpr WORD kComboAtom = 0x0085;

// The template of DLGTEMPLATE: its window and controls with the styles
// that make them what the template says.
CTemplateWriter WriteDialogTemplate(const DialogTemplate& dlgTemplate);
