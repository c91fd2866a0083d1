#include "ui/OptionsDlg.h"

#include "ui/platform/DataExchange.h"
#include "util/NameRule.h"

COptionsDlg::COptionsDlg(CDialog* pParent) : CDialog(IDD, pParent) {}

COptionsDlg::~COptionsDlg() = default;

void COptionsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DATA_FILE, m_strDataFile);
    DDV_PlainName(pDX, m_strDataFile);
    DDV_MaxChars(pDX, m_strDataFile, kMaxNameChars);
    DDX_Text(pDX, IDC_INLET_FILE, m_strInletName);
    DDV_PlainName(pDX, m_strInletName);
    DDV_MaxChars(pDX, m_strInletName, kMaxNameChars);
    DDX_Text(pDX, IDC_MACRO_FILE, m_strMacroName);
    DDV_PlainName(pDX, m_strMacroName);
    DDX_Text(pDX, IDC_MS_FILE, m_strMSName);
    DDV_PlainName(pDX, m_strMSName);
    DDV_MaxChars(pDX, m_strMSName, kMaxNameChars);
}
