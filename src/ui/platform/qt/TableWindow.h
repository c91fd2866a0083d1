// The table window (ui/platform/TableWindow.h) on Qt.
#pragma once

#include <QDialog>
#include <QRect>
#include <functional>

#include "ui/platform/TableWindow.h"

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

class CTableWindow : public QDialog {
public:
    CTableWindow(const TableWindowContent& content, QWidget* parent);

    // Sizes and places the window for a screen whose available area (the
    // window's frame and title included) is AVAILABLE. The constructor
    // does so for the screen it is shown on.
    void FitInto(const QRect& available);

    // In a test, HOOK acts on each table window once it is shown.
    using ShowHook = std::function<void(CTableWindow&)>;
    static void SetShowHook(ShowHook hook);

    QLabel* Summary() const { return m_summary; }
    QTableWidget* Table() const { return m_table; }
    QPlainTextEdit* Findings() const { return m_findings; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

private:
    int m_widthUnits;
    int m_heightUnits;
    QLabel* m_summary;
    QTableWidget* m_table;
    QPlainTextEdit* m_findings;
    QDialogButtonBox* m_buttons;
};
