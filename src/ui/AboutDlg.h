// CAboutDlg: the About box, which shows the program's name and version.
#pragma once

#include "ui/ResourceIds.h"
#include "ui/platform/Dialog.h"

class CAboutDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_ABOUTBOX;

    explicit CAboutDlg(CDialog* pParent = nullptr) : CDialog(IDD, pParent) {}
};
