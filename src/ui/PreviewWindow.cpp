#include "ui/PreviewWindow.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/TextCodec.h"

namespace {

PreviewWindow::ShowHook& Hook() {
    static PreviewWindow::ShowHook hook;
    return hook;
}

}  // namespace

PreviewWindow::PreviewWindow(const PreviewContent& content, QWidget* parent)
    : QDialog(parent),
      m_summary(new QLabel(this)),
      m_table(new QTableWidget(this)),
      m_findings(new QPlainTextEdit(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Close, this)) {
    setWindowTitle(DecodePath(content.title));
    setSizeGripEnabled(true);

    QString summary = DecodeRecordText(content.summary);
    if (content.rowsNotShown != 0) {
        summary += QStringLiteral("\nThe table shows the first %1 records; %2 more follow.")
                       .arg(content.rows.size())
                       .arg(content.rowsNotShown);
    }
    m_summary->setText(summary);
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_table->setColumnCount(static_cast<int>(kRecordFieldCount) + 1);
    QStringList headers{QStringLiteral("#")};
    for (const RecordField& field : kRecordFields) {
        headers << QString::fromLatin1(field.title);
    }
    m_table->setHorizontalHeaderLabels(headers);
    m_table->verticalHeader()->setVisible(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);  // Tab leaves; arrows move between cells
    m_table->setAccessibleName(QStringLiteral("Records"));
    m_table->setAccessibleDescription(
        QStringLiteral("The records the conversion would write, one row each"));
    m_table->setRowCount(static_cast<int>(content.rows.size()));
    for (std::size_t r = 0; r < content.rows.size(); ++r) {
        const int row = static_cast<int>(r);
        m_table->setItem(row, 0, new QTableWidgetItem(QString::number(content.numbers[r])));
        for (std::size_t c = 0; c < kRecordFieldCount; ++c) {
            m_table->setItem(row, static_cast<int>(c) + 1,
                             new QTableWidgetItem(DecodeRecordText(content.rows[r][c])));
        }
    }
    m_table->resizeColumnsToContents();

    QString findings;
    for (const std::string& line : content.findings) {
        findings += DecodeRecordText(line) + u'\n';
    }
    m_findings->setPlainText(findings.isEmpty() ? QStringLiteral("No warnings.") : findings);
    m_findings->setReadOnly(true);
    m_findings->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_findings->setAccessibleName(QStringLiteral("Warnings and skipped lines"));
    m_findings->setTabChangesFocus(true);
    m_findings->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    const CDialogUnits units(font());
    for (QWidget* pane : {static_cast<QWidget*>(m_table), static_cast<QWidget*>(m_findings)}) {
        pane->setMinimumSize(units.ToPixelsX(kLeastPaneWidthUnits),
                             units.ToPixelsY(kLeastPaneHeightUnits));
    }

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_table);
    splitter->addWidget(m_findings);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_buttons);
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    FitInto(screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600));
}

void PreviewWindow::FitInto(const QRect& available) {
    const CDialogUnits units(font());
    // The window manager's frame and title bar are not ours: a line and a
    // half of the font for the title, a few units for the borders.
    const QSize frame(units.ToPixelsX(4),
                      QFontMetrics(font()).height() * 3 / 2 + units.ToPixelsY(4));
    const QSize room = available.size() - frame;
    const QSize wanted(units.ToPixelsX(kWidthUnits), units.ToPixelsY(kHeightUnits));
    const QSize size = wanted.boundedTo(room).expandedTo(minimumSizeHint());
    resize(size);
    move(available.x() + std::max(0, (available.width() - size.width() - frame.width()) / 2),
         available.y() + std::max(0, (available.height() - size.height() - frame.height()) / 2));
}

void PreviewWindow::SetShowHook(ShowHook hook) {
    Hook() = std::move(hook);
}

void PreviewWindow::ShowModal(const PreviewContent& content, QWidget* parent) {
    PreviewWindow window(content, parent);
    if (Hook()) {
        const ShowHook run = Hook();
        QTimer::singleShot(0, &window, [&window, run] {
            run(window);
            if (window.isVisible()) {
                window.reject();
            }
        });
    } else if (ScriptedUser::s_pInstalled != nullptr) {
        return;
    }
    window.exec();
}
