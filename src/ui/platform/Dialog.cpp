// What every twin's CDialog does alike.
#include "ui/platform/Dialog.h"

#include "ui/platform/DataExchange.h"

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
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
