#include "ui/platform/Dialog.h"

#include <QPushButton>
#include <QTimer>

#include "ui/platform/DataExchange.h"
#include "ui/platform/DialogBuilder.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/MessageBox.h"
#include "ui/platform/SystemMenu.h"
#include "ui/platform/TextCodec.h"
#include "ui/platform/UiTestScript.h"

namespace {

std::map<UINT, CDialog::ModalHook>& ModalHooks() {
    static std::map<UINT, CDialog::ModalHook> hooks;
    return hooks;
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, QWidget* pParentWnd)
    : QDialog(pParentWnd), m_nIDTemplate(nIDTemplate) {}

CDialog::~CDialog() = default;

void CDialog::SetModalHook(UINT nIDTemplate, ModalHook hook) {
    if (hook) {
        ModalHooks()[nIDTemplate] = std::move(hook);
    } else {
        ModalHooks().erase(nIDTemplate);
    }
}

void CDialog::ClearModalHooks() {
    ModalHooks().clear();
}

BOOL CDialog::CreateControls() {
    if (m_bCreated) {
        return TRUE;
    }
    const DialogTemplate* dlgTemplate = FindDialogTemplate(m_nIDTemplate);
    if (dlgTemplate == nullptr) {
        return FALSE;
    }
    m_controls = CDialogBuilder::Build(*dlgTemplate, *this);
    for (const auto& [id, control] : m_controls) {
        if (auto* button = dynamic_cast<QPushButton*>(control)) {
            const UINT command = static_cast<UINT>(id);
            connect(button, &QPushButton::clicked, this, [this, command] { SendCommand(command); });
        }
    }
    m_bCreated = true;
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    if (!CreateControls()) {
        return -1;
    }
    m_bEnded = false;
    m_nModalResult = -1;
    setModal(true);
    OnInitDialog();
    if (m_bEnded) {
        return m_nModalResult;
    }

    const auto hook = ModalHooks().find(m_nIDTemplate);
    if (hook != ModalHooks().end()) {
        const ModalHook run = hook->second;
        QTimer::singleShot(0, this, [this, run] {
            run(*this);
            if (!m_bEnded) {
                EndDialog(-1);
            }
        });
    } else if (CUiTestScript::IsActive()) {
        EndDialog(-1);
        return m_nModalResult;
    }
    exec();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    m_nModalResult = nResult;
    QDialog::done(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

QWidget* CDialog::GetDlgItem(int nID) const {
    const auto found = m_controls.find(nID);
    return found != m_controls.end() ? found->second : nullptr;
}

void CDialog::EnableControl(int nID, BOOL bEnable) {
    if (QWidget* control = GetDlgItem(nID)) {
        control->setEnabled(bEnable != FALSE);
    }
}

std::string CDialog::GetWindowText() const {
    return EncodePath(windowTitle());
}

void CDialog::SetIcon(const HICON& icon) {
    setWindowIcon(icon);
}

CSystemMenu* CDialog::GetSystemMenu(BOOL /*bRevert*/) {
    if (!m_pSystemMenu) {
        m_pSystemMenu = std::make_unique<CSystemMenu>(*this);
    }
    return m_pSystemMenu.get();
}

void CDialog::SendSysCommand(UINT nID, LPARAM lParam) {
    OnSysCommand(nID, lParam);
}

void CDialog::SendCommand(UINT nID) {
    OnCommand(nID);
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, UINT nType,
                        const std::string& detail, const std::string& details) {
    return ShowMessageBox(this, DecodePath(text), DecodePath(caption), nType, DecodePath(detail),
                          DecodePath(details));
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnSysCommand(UINT /*nID*/, LPARAM /*lParam*/) {}

BOOL CDialog::OnCommand(UINT nID) {
    if (nID == IDOK) {
        OnOK();
        return TRUE;
    }
    if (nID == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

void CDialog::accept() {
    OnOK();
}

void CDialog::reject() {
    OnCancel();
}
