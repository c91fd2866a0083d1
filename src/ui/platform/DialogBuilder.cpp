#include "ui/platform/DialogBuilder.h"

#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "ui/platform/CaptionWidth.h"
#include "ui/platform/ComboBox.h"
#include "ui/platform/DialogUnits.h"
#include "ui/platform/GroupBox.h"
#include "ui/platform/PushButton.h"
#include "ui/platform/ResourceLookup.h"
#include "ui/platform/StaticTextFit.h"

namespace {

constexpr const char* kFieldNameProperty = "k2lFieldName";

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::ComboBox ||
           kind == ControlKind::Edit;
}

Qt::WindowFlags WindowFlagsOf(const DialogTemplate& dlgTemplate) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    flags |= (dlgTemplate.style & DS_APPWINDOW) != 0 ? Qt::Window : Qt::Dialog;
    if ((dlgTemplate.style & DS_MINIMIZEBOX) != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    return flags;
}

QWidget* MakeControl(const DialogControl& control, const CDialogUnits& units, int offsetX,
                     QDialog& dialog) {
    const QString text = QString::fromLatin1(control.text != nullptr ? control.text : "");
    const QRect rect =
        units.MapDialogRect(control.x, control.y, control.cx, control.cy).translated(offsetX, 0);
    const bool tabStop = (control.style & CS_TABSTOP) != 0;
    switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = new CPushButton(text, &dialog);
            button->setAutoDefault(true);
            button->setDefault((control.style & CS_DEFPUSHBUTTON) != 0);
            button->setGeometry(rect);
            button->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
            return button;
        }
        case ControlKind::GroupBox: {
            auto* group = new CGroupBox(text, &dialog);
            group->setGeometry(rect);
            group->setAttribute(Qt::WA_TransparentForMouseEvents);
            group->setFocusPolicy(Qt::NoFocus);
            return group;
        }
        case ControlKind::StaticText: {
            auto* label = new QLabel(&dialog);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setMargin(0);
            label->setIndent(0);
            label->setText(text);
            label->setGeometry(rect);
            return label;
        }
        case ControlKind::Icon: {
            auto* label = new QLabel(&dialog);
            const QIcon icon = LoadIcon(control.resource);
            // An icon control shows the icon at its own size.
            label->setPixmap(icon.pixmap(QSize(32, 32), dialog.devicePixelRatioF()));
            label->setGeometry(QRect(rect.topLeft(), QSize(32, 32)));
            return label;
        }
        case ControlKind::ComboBox: {
            auto* combo = new CComboBox(&dialog, (control.style & CS_SORT) != 0);
            // The template's height includes the drop-down list; the field
            // itself is as high as the font makes it.
            const int fieldHeight = combo->sizeHint().height();
            combo->setGeometry(QRect(rect.x(), rect.y(), rect.width(), fieldHeight));
            const int itemHeight = QFontMetrics(dialog.font()).height() + 2;
            combo->setMaxVisibleItems(std::max(1, (rect.height() - fieldHeight) / itemHeight));
            combo->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
            return combo;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(&dialog);
            edit->setFrame((control.style & CS_BORDER) != 0);
            edit->setGeometry(rect);
            edit->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
            return edit;
        }
    }
    return nullptr;
}

}  // namespace

QString CDialogBuilder::StripMnemonic(const QString& text) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
        }
        result += text[i];
    }
    return result;
}

QString CDialogBuilder::FieldName(const QWidget* control) {
    return control != nullptr ? control->property(kFieldNameProperty).toString() : QString();
}

std::map<int, QWidget*> CDialogBuilder::Build(const DialogTemplate& dlgTemplate, QDialog& dialog) {
    const CDialogUnits units(dialog.font());
    dialog.setWindowFlags(WindowFlagsOf(dlgTemplate));
    const QString caption = QString::fromLatin1(dlgTemplate.caption);
    dialog.setWindowTitle(caption);
    // A dialog too narrow for its caption is widened, its controls centred.
    const int templateWidth = units.ToPixelsX(dlgTemplate.cx);
    const int width = std::max(templateWidth, CaptionNeedsWidth(caption, dialog.font()));
    const int offsetX = (width - templateWidth) / 2;
    dialog.setFixedSize(width, units.ToPixelsY(dlgTemplate.cy));
    dialog.setSizeGripEnabled(false);

    std::map<int, QWidget*> controls;
    std::vector<QWidget*> widgets;
    for (const DialogControl& control : dlgTemplate.controls) {
        QWidget* widget = MakeControl(control, units, offsetX, dialog);
        widgets.push_back(widget);
        if (control.id != IDC_STATIC) {
            controls[control.id] = widget;
        }
    }

    QWidget* previous = nullptr;
    std::vector<QLabel*> labels;
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const DialogControl& control = dlgTemplate.controls[i];
        if (control.kind == ControlKind::GroupBox) {
            widgets[i]->lower();
        }
        if (TakesFocus(control.kind)) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, widgets[i]);
            }
            previous = widgets[i];
        }
        if (control.kind != ControlKind::StaticText) {
            continue;
        }
        auto* label = static_cast<QLabel*>(widgets[i]);
        labels.push_back(label);
        const QString text = label->text();
        const bool mnemonic = (control.style & CS_NOPREFIX) == 0 && text.contains(u'&');
        if (!mnemonic) {
            continue;
        }
        QWidget* buddy = nullptr;
        for (std::size_t j = i + 1; j < widgets.size() && buddy == nullptr; ++j) {
            if (TakesFocus(dlgTemplate.controls[j].kind)) {
                buddy = widgets[j];
            }
        }
        if (buddy != nullptr) {
            label->setBuddy(buddy);
            buddy->setProperty(kFieldNameProperty, StripMnemonic(text));
        } else {
            label->setText(StripMnemonic(text));
        }
    }
    FitStaticTexts(labels, widgets, units, dialog);
    return controls;
}
