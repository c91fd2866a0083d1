#include "ui/platform/qt/DialogBuilder.h"

#include <qdrawutil.h>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcutEvent>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "ui/platform/qt/ComboBox.h"
#include "ui/platform/qt/PathLabel.h"

namespace {

// The dialog units kept free between a widened static text and what limits it.
constexpr int kTextMarginUnits = 2;
// The window's icon and its minimise, maximise and close buttons.
constexpr int kTitleBarButtons = 4;

class CPushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    bool event(QEvent* event) override {
        // A shortcut event reaches the button only for its own mnemonic. It
        // clicks at once, as the Windows dialog manager's does (Qt's own
        // would click a timer's tenth of a second later).
        if (event->type() == QEvent::Shortcut && isEnabled() && focusPolicy() != Qt::NoFocus) {
            setFocus(Qt::ShortcutFocusReason);
            if (!static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
                click();
                return true;
            }
        }
        return QPushButton::event(event);
    }
};

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::ComboBox ||
           kind == ControlKind::Edit;
}

QWidget* MakeControl(const DialogControl& control, const CDialogUnits& units, int offsetX,
                     QDialog& dialog) {
    const QString text = QString::fromLatin1(control.text != nullptr ? control.text : "");
    QRect rect =
        units.MapDialogRect(control.x, control.y, control.cx, control.cy).translated(offsetX, 0);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = new CPushButton(text, &dialog);
            button->setAutoDefault(true);
            button->setDefault((control.style & CS_DEFPUSHBUTTON) != 0);
            widget = button;
            break;
        }
        case ControlKind::GroupBox:
            widget = new CGroupBox(text, &dialog);
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            widget->setFocusPolicy(Qt::NoFocus);
            widget->lower();
            break;
        case ControlKind::StaticText: {
            auto* label = new QLabel(text, &dialog);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setMargin(0);
            label->setIndent(0);
            if ((control.style & CS_PATHELLIPSIS) != 0) {
                ElideInTheMiddle(*label);
            }
            widget = label;
            break;
        }
        case ControlKind::Icon: {
            // An icon control shows the icon at its own size.
            auto* label = new QLabel(&dialog);
            label->setAccessibleName(text);
            label->setPixmap(QtIcon(LoadIcon(control.resource))
                                 .pixmap(QSize(32, 32), dialog.devicePixelRatioF()));
            rect.setSize(QSize(32, 32));
            widget = label;
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = new CComboBox(&dialog);
            // The template's height includes the drop-down list; the field
            // itself is as high as the font makes it.
            const int fieldHeight = combo->sizeHint().height();
            const int itemHeight = QFontMetrics(dialog.font()).height() + 2;
            combo->setMaxVisibleItems(std::max(1, (rect.height() - fieldHeight) / itemHeight));
            rect.setHeight(fieldHeight);
            widget = combo;
            break;
        }
        case ControlKind::Edit:
            widget = new QLineEdit(&dialog);
            static_cast<QLineEdit*>(widget)->setFrame((control.style & CS_BORDER) != 0);
            break;
    }
    widget->setGeometry(rect);
    if (TakesFocus(control.kind)) {
        widget->setFocusPolicy((control.style & CS_TABSTOP) != 0 ? Qt::StrongFocus
                                                                 : Qt::ClickFocus);
    }
    return widget;
}

// Widens LABEL into the free space to its right where its text needs it,
// and heightens it to one line of its font.
void FitStaticText(QLabel& label, const std::vector<QWidget*>& widgets, int margin,
                   const QWidget& dialog) {
    const QSize needed = label.sizeHint();
    QRect text = label.geometry();
    if (needed.width() > text.width()) {
        int limit = dialog.width() - margin;
        for (const QWidget* widget : widgets) {
            const QRect other = widget->geometry();
            if (widget == &label) {
                continue;
            }
            if (qobject_cast<const QGroupBox*>(widget) != nullptr) {
                if (other.contains(text)) {
                    limit = std::min(limit, other.right() + 1 - margin);
                }
            } else if (other.left() > text.left() && text.top() <= other.bottom() &&
                       other.top() <= text.bottom()) {
                limit = std::min(limit, other.left() - margin);
            }
        }
        text.setWidth(std::max(text.width(), std::min(needed.width(), limit - text.left())));
    }
    text.setHeight(std::max(text.height(), needed.height()));
    label.setGeometry(text);
}

}  // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Average over 52 letters, rounded.
    m_nBaseX = std::max(1, (alphabetWidth / 26 + 1) / 2);
    m_nBaseY = std::max(1, metrics.height());
}

QRect CGroupBox::TitleRect() const {
    const QFontMetrics metrics(font());
    // The title starts a character's width in, with half a character of
    // clear frame on either side of its text.
    const int gap = std::max(1, metrics.averageCharWidth() / 2);
    const int width = metrics.horizontalAdvance(title()) + 2 * gap;
    return QRect(metrics.averageCharWidth() - gap, 0, width, metrics.height());
}

void CGroupBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // An etched frame of our own: styles place theirs below the title.
    qDrawShadeRect(&painter, rect().adjusted(0, FrameLineY(), 0, 0), palette(), true, 1, 0);
    if (title().isEmpty()) {
        return;
    }
    const QRect titleRect = TitleRect();
    painter.fillRect(titleRect, palette().brush(QPalette::Window));
    style()->drawItemText(&painter, titleRect, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}

int CaptionNeedsWidth(const QString& caption, const QFont& dialogFont) {
    QFont titleFont(dialogFont);
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int button = metrics.height() * 3 / 2;
    return metrics.horizontalAdvance(caption) + 2 * metrics.averageCharWidth() +
           kTitleBarButtons * button;
}

QString CDialogBuilder::StripMnemonic(const QString& text) {
    return QString(text).replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
}

std::map<int, QWidget*> CDialogBuilder::Build(const DialogTemplate& dlgTemplate, QDialog& dialog) {
    const CDialogUnits units(dialog.font());
    dialog.setWindowFlags(
        Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
        Qt::WindowCloseButtonHint |
        ((dlgTemplate.style & DS_APPWINDOW) != 0 ? Qt::Window : Qt::Dialog) |
        ((dlgTemplate.style & DS_MINIMIZEBOX) != 0 ? Qt::WindowMinimizeButtonHint : Qt::Widget));
    const QString caption = QString::fromLatin1(dlgTemplate.caption);
    dialog.setWindowTitle(caption);
    const int templateWidth = units.ToPixelsX(dlgTemplate.cx);
    const int width = std::max(templateWidth, CaptionNeedsWidth(caption, dialog.font()));
    const int offsetX = (width - templateWidth) / 2;
    dialog.setFixedSize(width, units.ToPixelsY(dlgTemplate.cy));
    dialog.setSizeGripEnabled(false);

    std::map<int, QWidget*> controls;
    std::vector<QWidget*> widgets;
    std::vector<QLabel*> labels;
    std::vector<QLabel*> waiting;  // labels with a mnemonic, before their buddy
    QWidget* previous = nullptr;   // the last control that takes the focus
    for (const DialogControl& control : dlgTemplate.controls) {
        QWidget* widget = MakeControl(control, units, offsetX, dialog);
        widgets.push_back(widget);
        if (control.id != IDC_STATIC) {
            controls[control.id] = widget;
        }
        if (control.kind == ControlKind::StaticText) {
            labels.push_back(static_cast<QLabel*>(widget));
            if ((control.style & CS_NOPREFIX) == 0 && labels.back()->text().contains(u'&')) {
                waiting.push_back(labels.back());
            }
        }
        if (TakesFocus(control.kind)) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, widget);
            }
            previous = widget;
            for (QLabel* label : waiting) {
                label->setBuddy(widget);
                widget->setAccessibleName(StripMnemonic(label->text()));
            }
            waiting.clear();
        }
    }
    for (QLabel* label : waiting) {
        label->setText(StripMnemonic(label->text()));
    }
    for (const ControlText& text : dlgTemplate.texts) {
        const auto found = controls.find(text.id);
        if (found == controls.end()) {
            continue;
        }
        if (text.name != nullptr) {
            found->second->setAccessibleName(QString::fromLatin1(text.name));
        }
        found->second->setAccessibleDescription(QString::fromLatin1(text.description));
    }
    const int margin = units.ToPixelsX(kTextMarginUnits);
    for (QLabel* label : labels) {
        FitStaticText(*label, widgets, margin, dialog);
    }
    return controls;
}
