// Dialog data exchange: moving values between a dialog's members and its
// controls, and validating them on the way in.
//
// A dialog's DoDataExchange lists its exchanges in order; UpdateData runs
// the list in one direction. From the controls, the first value that fails
// validation shows a message (captioned with the dialog's title), puts the
// focus on its control (selecting an edit's text) and stops the list:
// UpdateData returns FALSE, and members taken before, the failing one
// included, keep their new values.
//
// Static text shows a path and gives back exactly the bytes it was given.
// Edit fields and combo boxes hold names for Sample List records: they
// accept only printable ASCII from the user; any other character fails
// with a message naming the field and the character, and the member keeps
// its previous value.
#pragma once

#include <string>

#include "ui/platform/WinDefs.h"

class CDialog;

// Ends an exchange that failed validation; caught by UpdateData.
struct CDataExchangeFailure {};

class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // Remembers control nIDC as the one that a failure concerns.
    void PrepareEditCtrl(int nIDC) { m_nLastControl = nIDC; }
    int LastControl() const { return m_nLastControl; }

    // Puts the focus on the last prepared control (selecting all of an
    // edit's text) and throws CDataExchangeFailure.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;  // TRUE: from the controls into the members
    CDialog* m_pDlgWnd;

private:
    int m_nLastControl = 0;
};

// Static text or edit field nIDC and VALUE.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);

// Edit field nIDC and VALUE, a folder or an extension: bytes of the file
// system, shown and taken in the locale's encoding whatever they hold,
// shown from their beginning.
void DDX_PathText(CDataExchange* pDX, int nIDC, std::string& value);

// Combo box nIDC and VALUE. Towards the control: the first list entry that
// begins with VALUE, ignoring case, is selected and shown whole; when none
// does, or VALUE is empty, the edit field shows VALUE as it is.
void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value);

// For the control of the exchange just before: towards the controls an
// edit field accepts at most nChars typed characters from then on (text set
// by the program may be longer); from the controls a VALUE longer than
// nChars fails with a message naming the field ("Please enter no more than
// 8 characters in the Data File field.").
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);

// For the control of the exchange just before, which holds a name that
// becomes a file name: from the controls a VALUE that is not a plain name
// (util/NameRule.h: it holds '/', '\\' or a control character) fails
// with a message naming the field and what the name holds. Towards the
// controls it does nothing.
void DDV_PlainName(CDataExchange* pDX, const std::string& value);
