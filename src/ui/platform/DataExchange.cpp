// What every twin's data exchange does alike.
#include "ui/platform/DataExchange.h"

#include <cstdio>

#include "ui/platform/Dialog.h"
#include "ui/platform/ExchangeMessages.h"

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_pDlgWnd->HasDlgItem(m_nLastControl)) {
        m_pDlgWnd->GotoDlgCtrl(m_nLastControl);
    }
    throw CDataExchangeFailure();
}

std::string TooManyCharsMessage(int nChars, const std::string& field) {
    return "Please enter no more than " + std::to_string(nChars) + " characters in the " + field +
           " field.";
}

std::string NotPlainNameMessage(const std::string& field, NameFault fault) {
    return "The name in the " + field + " field " + NameFaultText(fault, kPlainName) +
           ". Please enter a name without '/' or '\\': it becomes a file name on the instrument.";
}

std::string NotRecordTextMessage(const std::string& field, const std::string& character,
                                 unsigned code) {
    std::string shown = "\"" + character + "\"";
    if (code < 0x20) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "U+%04X", code);
        shown = hex;
    }
    return "Please enter only ASCII letters, digits, spaces and punctuation in the " + field +
           " field: " + shown + " cannot be written into a Sample List record.";
}
