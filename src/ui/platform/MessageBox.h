// Message boxes and the message formatter.
#pragma once

#include <QString>
#include <string>

#include "ui/platform/WinDefs.h"

class QWidget;

// Shows a modal message box over OWNER with TEXT, the CAPTION as its title,
// the buttons, icon and default button of TYPE (MB_OK or MB_YESNO;
// MB_ICONQUESTION, MB_ICONEXCLAMATION or no icon; MB_DEFBUTTON1 or 2) and,
// when DETAIL is not empty, DETAIL as further text below, and when DETAILS
// is not empty, DETAILS behind a "Show Details..." button. Returns the
// button pressed: IDOK, IDYES or IDNO. Closing a Yes/No box without a
// choice answers No.
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type,
                   const QString& detail = QString(), const QString& details = QString());

// FORMAT with every "%1" replaced by ARG1 and every "%%" by "%".
std::string FormatMessage(const std::string& format, const std::string& arg1);
