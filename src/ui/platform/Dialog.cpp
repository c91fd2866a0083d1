#include "ui/platform/Dialog.h"

#include <QPushButton>
#include <QTimer>

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/DataExchange.h"
#include "ui/platform/DialogBuilder.h"
#include "ui/platform/TextCodec.h"

namespace {

std::map<UINT, CDialog::ModalHook>& ModalHooks() {
    static std::map<UINT, CDialog::ModalHook> hooks;
    return hooks;
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, QWidget* pParentWnd)
    : QDialog(pParentWnd), m_nIDTemplate(nIDTemplate) {}

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

INT_PTR CDialog::DoModal() {
    const DialogTemplate* dlgTemplate = FindDialogTemplate(m_nIDTemplate);
    if (dlgTemplate == nullptr) {
        return -1;
    }
    if (m_controls.empty()) {
        m_controls = CDialogBuilder::Build(*dlgTemplate, *this);
        for (const auto& [id, control] : m_controls) {
            if (auto* button = dynamic_cast<QPushButton*>(control)) {
                const UINT command = static_cast<UINT>(id);
                connect(button, &QPushButton::clicked, this,
                        [this, command] { OnCommand(command); });
            }
        }
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
        QTimer::singleShot(0, this, [this, run = hook->second] {
            run(*this);
            if (!m_bEnded) {
                EndDialog(-1);
            }
        });
    } else if (CUiTestScript::IsActive()) {
        return -1;
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

void CDialog::SendSysCommand(UINT nID, LPARAM lParam) {
    OnSysCommand(nID, lParam);
}

void CDialog::SendCommand(UINT nID) {
    OnCommand(nID);
}

int CDialog::MessageBox(const QString& text, const std::string& caption, UINT nType,
                        const std::string& detail, const std::string& details) {
    return ShowMessageBox(this, text, DecodePath(caption), nType, DecodePath(detail),
                          DecodePath(details));
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnSysCommand(UINT /*nID*/, LPARAM /*lParam*/) {}

BOOL CDialog::OnCommand(UINT nID) {
    if (nID == IDOK) {
        OnOK();
    } else if (nID == IDCANCEL) {
        OnCancel();
    } else {
        return FALSE;
    }
    return TRUE;
}

void CDialog::accept() {
    OnOK();
}

void CDialog::reject() {
    OnCancel();
}
