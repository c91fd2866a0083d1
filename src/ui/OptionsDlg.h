// COptionsDlg: the Conversion Options dialog, which edits the four names
// of a conversion in plain edit fields.
//
// The caller sets the members, runs the dialog and, when it ends with IDOK,
// reads them back. OK takes the fields with validation: the data file,
// inlet and MS names hold at most 8 characters; the macro name has no
// limit of its own here.
#pragma once

#include <string>

#include "ui/ResourceIds.h"
#include "ui/platform/Dialog.h"

class COptionsDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_OPTIONS;

    explicit COptionsDlg(CDialog* pParent = nullptr);
    ~COptionsDlg() override;

    std::string m_strDataFile;
    std::string m_strInletName;
    std::string m_strMacroName;
    std::string m_strMSName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
