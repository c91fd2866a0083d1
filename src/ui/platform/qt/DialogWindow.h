// The Qt window of a CDialog (ui/platform/Dialog.h): a QDialog whose
// controls are built from the dialog's template, and which sends its
// events (a button's click, Escape, the close box, a drop) to the dialog's
// handlers.
#pragma once

#include <QDialog>
#include <map>

#include "ui/platform/Dialog.h"

class CDialogWindow : public QDialog {
public:
    CDialogWindow(CDialog& dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog) {}

    CDialog& Dialog() const { return m_dialog; }

    // The control nID, or nullptr. Controls exist from DoModal on.
    QWidget* GetDlgItem(int nID) const;
    template <typename Control>
    Control* GetDlgItemAs(int nID) const {
        return dynamic_cast<Control*>(GetDlgItem(nID));
    }
    const std::map<int, QWidget*>& Controls() const { return m_controls; }

    // Builds the template's controls once; their clicks go to OnCommand.
    void BuildControls(const DialogTemplate& dlgTemplate);

protected:
    // Escape, the close box and QDialog's own accept go through the
    // dialog's handlers.
    void accept() override { m_dialog.OnOK(); }
    void reject() override { m_dialog.OnCancel(); }
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    CDialog& m_dialog;
    std::map<int, QWidget*> m_controls;
};

class QLineEdit;
class QString;

// The property in which a static text keeps the bytes it was given, beside
// its display text.
inline constexpr const char* kStaticBytesProperty = "k2lBytes";

// Sets EDIT's text as the program's, past its typing limit, and shows it
// from its beginning.
void SetProgramText(QLineEdit* edit, const QString& text);

// The Qt window of DIALOG, or nullptr (a parent given as nullptr).
inline QWidget* QtWindowOf(const CDialog* dialog) {
    return dialog != nullptr ? &dialog->Window() : nullptr;
}
