// The fit probes on the Qt twin: the dialog's direct child widgets, Qt's
// font metrics and its accessibility interfaces.
#include "tests/ui/probes_fit.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/DialogWindow.h"
#include "ui/platform/qt/PathLabel.h"
#include "ui/platform/qt/TableWindow.h"
#include "ui/platform/qt/TextCodec.h"

namespace {

PixelRect BoxOf(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

int WidthOf(const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text);
}

std::string Said(QWidget* control, QAccessible::Text text) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible != nullptr ? EncodePath(accessible->text(text)) : std::string();
}

QWidget* ControlOrField(CDialog& dlg, int id, bool field) {
    QWidget* control = dlg.Window().GetDlgItem(id);
    auto* combo = qobject_cast<QComboBox*>(control);
    return field && combo != nullptr ? combo->lineEdit() : control;
}

ShownControl Measure(QWidget* control) {
    ShownControl shown;
    shown.id = IDC_STATIC;
    shown.rect = BoxOf(control->geometry());
    shown.what = std::string(control->metaObject()->className()) + " at " +
                 std::to_string(shown.rect.x) + ',' + std::to_string(shown.rect.y);
    shown.takesFocus = control->focusPolicy() != Qt::NoFocus;
    shown.lineHeight = QFontMetrics(control->font()).height();
    shown.accessibleName = Said(control, QAccessible::Name);
    shown.accessibleDescription = Said(control, QAccessible::Description);
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const bool path = ElidesInTheMiddle(*label);
        shown.shape = !label->pixmap().isNull() ? Shape::kPicture
                      : path                    ? Shape::kPathLabel
                                                : Shape::kLabel;
        text = path                        ? PaintedPathText(*label)
               : label->buddy() != nullptr ? CDialogBuilder::StripMnemonic(label->text())
                                           : label->text();
        shown.textRoom = BoxOf(label->contentsRect());
    } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        shown.shape = Shape::kButton;
        text = CDialogBuilder::StripMnemonic(button->text());
        shown.textRoom = BoxOf(button->rect());
    } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
        shown.shape = Shape::kGroupBox;
        text = group->title();
        // Only the dialogs' own group box puts its title on the frame line.
        if (const auto* own = dynamic_cast<const CGroupBox*>(group)) {
            shown.titleOnFrameLine = true;
            shown.textRoom = BoxOf(own->TitleRect());
            shown.frameLineY = own->FrameLineY();
        }
    } else if (qobject_cast<const QComboBox*>(control) != nullptr ||
               qobject_cast<const QLineEdit*>(control) != nullptr) {
        shown.shape = Shape::kField;
    }
    shown.text = EncodePath(text);
    shown.textWidth = WidthOf(control->font(), text);
    return shown;
}

}  // namespace

std::vector<ShownControl> ShownControls(CDialog& dlg) {
    std::vector<ShownControl> controls;
    for (QWidget* child : dlg.Window().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // Menus and popups are not controls, nor is the menu bar.
        if (!child->isWindow() && qobject_cast<QMenuBar*>(child) == nullptr) {
            controls.push_back(Measure(child));
            for (const auto& [id, control] : dlg.Window().Controls()) {
                if (control == child) {
                    controls.back().id = id;
                }
            }
        }
    }
    return controls;
}

PixelRect ClientArea(CDialog& dlg) {
    return BoxOf(dlg.Window().rect());
}

int CaptionNeedsWidth(CDialog& dlg) {
    return CaptionNeedsWidth(dlg.Window().windowTitle(), dlg.Window().font());
}

bool HasFixedSize(CDialog& dlg) {
    return dlg.Window().minimumSize() == dlg.Window().maximumSize();
}

double TestScale() {
    return qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
}

double ScaleOf(CDialog& dlg) {
    return dlg.Window().devicePixelRatioF();
}

bool MoveToScreenScale(CDialog& /*dlg*/, int /*percent*/) {
    return false;  // QT_SCALE_FACTOR holds for the whole process
}

bool UseDesktopFont(const std::string& family, int points) {
    static const QFont desktop = QApplication::font();
    QFont font = desktop;
    if (!family.empty()) {
        font.setFamily(QString::fromStdString(family));
        font.setPointSize(points);
    }
    QApplication::setFont(font);
    return true;
}

std::string AccessibleName(CDialog& dlg, int id, bool field) {
    return Said(ControlOrField(dlg, id, field), QAccessible::Name);
}

std::string ToolTipOf(CDialog& dlg, int id) {
    return EncodePath(dlg.Window().GetDlgItem(id)->toolTip());
}

std::string PaintedEllipsis() {
    return EncodePath(QString(QChar(0x2026)));
}

CueShown CueOf(CDialog& dlg, int id) {
    QLineEdit* edit = dlg.Window().GetDlgItemAs<QComboBox>(id)->lineEdit();
    const QString shown = edit->placeholderText();
    // A line edit keeps two pixels clear on either side of its text.
    return {EncodePath(shown), WidthOf(edit->font(), shown), edit->contentsRect().width() - 4};
}

bool ShowTableWindowOn(const TableWindowContent& content, int width, int height,
                       TableWindowShown& shown) {
    CTableWindow window(content, nullptr);
    // Qt lays out in device-independent pixels of the process's scale.
    const QSize screen = QSize(width, height) / window.devicePixelRatioF();
    shown.screen = BoxOf(QRect(QPoint(0, 0), screen));
    window.FitInto(QRect(QPoint(0, 0), screen));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return false;
    }
    shown.window = BoxOf(window.rect());
    const QWidget* close = window.Buttons()->button(QDialogButtonBox::Close);
    shown.close = BoxOf(QRect(close->mapTo(&window, QPoint(0, 0)), close->size()));
    const CDialogUnits units(window.font());
    shown.sizeOfUnits = BoxOf(
        QRect(0, 0, units.ToPixelsX(content.widthUnits), units.ToPixelsY(content.heightUnits)));
    return true;
}
