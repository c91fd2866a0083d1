// Message boxes with details on the Qt twin: QMessageBox, through the
// twin's hook (qt/MessageBox.h).
#include "tests/ui/probes_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

#include "ui/platform/qt/MessageBox.h"

void VisitMessageBoxDetails(DetailsVisit* visit) {
    if (visit == nullptr) {
        SetMessageBoxHook(nullptr);
        return;
    }
    SetMessageBoxHook([visit](QMessageBox& box) {
        if (box.detailedText().isEmpty()) {
            return;
        }
        ++visit->boxes;
        QApplication::setActiveWindow(&box);
        box.buttons().constLast()->click();  // Show Details...
        QTextEdit* details = nullptr;
        for (int tab = 0; tab < 8 && details == nullptr; ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            details = qobject_cast<QTextEdit*>(QApplication::focusWidget());
        }
        visit->reached = details != nullptr && details->accessibleName() == "Details";
        visit->scrolled = false;
        if (details != nullptr) {
            QTest::keyClick(details, Qt::Key_PageDown);
            visit->scrolled = details->verticalScrollBar()->value() > 0;
        }
    });
}
