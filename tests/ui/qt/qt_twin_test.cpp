// What only the Qt twin has: a dialog font the application chooses, which
// the dialog units follow.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

#include "tests/ui/probes_layout.h"
#include "tests/ui/ui_test_env.h"
#include "ui/ConvertDlg.h"
#include "ui/platform/qt/DialogWindow.h"

namespace {

TEST(QtTwin, LayoutFollowsTheTemplateInDialogUnitsOfAnyFont) {
    UiTestEnv env;
    for (const int pointSize : {9, 14}) {
        SCOPED_TRACE(pointSize);
        const QFont previous = QApplication::font();
        QFont font = previous;
        font.setPointSize(pointSize);
        QApplication::setFont(font);
        CConvertDlg dlg;
        dlg.m_strInputFile = dlg.m_strOutputFile = "[Not Specified]";
        RunModal<CConvertDlg>(dlg, [pointSize](CConvertDlg& d) {
            EXPECT_EQ(d.Window().font().pointSize(), pointSize);
            EXPECT_EQ(LayoutArea(d), MapDialogUnits(d, 0, 0, 225, 172));
            EXPECT_EQ(ControlRect(d, IDC_CONVERT), MapDialogUnits(d, 63, 154, 50, 14));
            EXPECT_EQ(ControlRect(d, IDC_DATA_FILE), MapDialogUnits(d, 151, 131, 45, 12));
            const PixelRect combo = ControlRect(d, IDC_MACRO_FILE);
            const PixelRect expected = MapDialogUnits(d, 151, 116, 61, 52);
            EXPECT_EQ(combo.x, expected.x);
            EXPECT_EQ(combo.y, expected.y);
            EXPECT_EQ(combo.width, expected.width);
        });
        QApplication::setFont(previous);
    }
}

}  // namespace
