// Message boxes on Qt: over a widget, and, for a test, acted on as a user
// would.
#pragma once

#include <QString>
#include <functional>

#include "ui/platform/WinDefs.h"

class QMessageBox;
class QWidget;

// AfxMessageBox (ui/platform/CommonDialogs.h) over OWNER.
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type,
                   const QString& detail = QString(), const QString& details = QString());

// For a test that acts on a message box as a user would: while HOOK is
// set, a message box is put to the installed stand-in as before and then
// shown for real, HOOK acting on it from its own event loop; a box HOOK
// leaves open is closed with its default answer.
using MessageBoxHook = std::function<void(QMessageBox&)>;
void SetMessageBoxHook(MessageBoxHook hook);
