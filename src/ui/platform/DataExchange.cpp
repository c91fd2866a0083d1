// What every twin's data exchange does alike.
#include "ui/platform/DataExchange.h"

#include "ui/platform/Dialog.h"

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_pDlgWnd->HasDlgItem(m_nLastControl)) {
        m_pDlgWnd->GotoDlgCtrl(m_nLastControl);
    }
    throw CDataExchangeFailure();
}
