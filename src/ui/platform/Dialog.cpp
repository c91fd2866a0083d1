#include "ui/platform/Dialog.h"

#include <QPushButton>
#include <QTimer>

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/DataExchange.h"
#include "ui/platform/TextCodec.h"

INT_PTR CDialog::DoModal() {
    const DialogTemplate* dlgTemplate = FindDialogTemplate(m_nIDTemplate);
    if (dlgTemplate == nullptr) {
        return -1;
    }
    if (m_controls.empty()) {
        m_controls = CDialogBuilder::Build(*dlgTemplate, *this);
        for (const auto& [id, control] : m_controls) {
            if (auto* button = dynamic_cast<QPushButton*>(control)) {
                connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
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
    if (const ModalHook run = s_modalHooks[m_nIDTemplate]) {
        QTimer::singleShot(0, this, [this, run] {
            run(*this);
            if (!m_bEnded) {
                EndDialog(-1);
            }
        });
    } else if (ScriptedUser::s_pInstalled != nullptr) {
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

int CDialog::MessageBox(const QString& text, const std::string& caption, UINT nType,
                        const std::string& detail, const std::string& details) {
    return ShowMessageBox(this, text, DecodePath(caption), nType, DecodePath(detail),
                          DecodePath(details));
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

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
