#include "ui/AboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : CDialog(IDD, pParent) {}
