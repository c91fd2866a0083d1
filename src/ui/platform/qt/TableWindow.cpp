#include "ui/platform/qt/TableWindow.h"

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
#include "ui/platform/Dialog.h"
#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/DialogWindow.h"
#include "ui/platform/qt/TextCodec.h"

namespace {

CTableWindow::ShowHook& Hook() {
    static CTableWindow::ShowHook hook;
    return hook;
}

}  // namespace

CTableWindow::CTableWindow(const TableWindowContent& content, QWidget* parent)
    : QDialog(parent),
      m_widthUnits(content.widthUnits),
      m_heightUnits(content.heightUnits),
      m_summary(new QLabel(this)),
      m_table(new QTableWidget(this)),
      m_findings(new QPlainTextEdit(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Close, this)) {
    setWindowTitle(DecodePath(content.title));
    setSizeGripEnabled(true);

    m_summary->setText(DecodeRecordText(content.summary));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_table->setColumnCount(static_cast<int>(content.columns.size()));
    QStringList headers;
    for (const std::string& column : content.columns) {
        headers << DecodeRecordText(column);
    }
    m_table->setHorizontalHeaderLabels(headers);
    m_table->verticalHeader()->setVisible(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);  // Tab leaves; arrows move between cells
    m_table->setAccessibleName(DecodeRecordText(content.tableName));
    m_table->setAccessibleDescription(DecodeRecordText(content.tableDescription));
    m_table->setRowCount(static_cast<int>(content.rows.size()));
    for (std::size_t r = 0; r < content.rows.size(); ++r) {
        for (std::size_t c = 0; c < content.rows[r].size(); ++c) {
            m_table->setItem(static_cast<int>(r), static_cast<int>(c),
                             new QTableWidgetItem(DecodeRecordText(content.rows[r][c])));
        }
    }
    m_table->resizeColumnsToContents();

    QString findings;
    for (const std::string& line : content.notes) {
        findings += DecodeRecordText(line) + u'\n';
    }
    m_findings->setPlainText(findings.isEmpty() ? DecodeRecordText(content.noNotes) : findings);
    m_findings->setReadOnly(true);
    m_findings->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_findings->setAccessibleName(DecodeRecordText(content.notesName));
    m_findings->setTabChangesFocus(true);
    m_findings->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    const CDialogUnits units(font());
    for (QWidget* pane : {static_cast<QWidget*>(m_table), static_cast<QWidget*>(m_findings)}) {
        pane->setMinimumSize(units.ToPixelsX(content.leastPaneWidthUnits),
                             units.ToPixelsY(content.leastPaneHeightUnits));
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

void CTableWindow::FitInto(const QRect& available) {
    const CDialogUnits units(font());
    // The window manager's frame and title bar are not ours: a line and a
    // half of the font for the title, a few units for the borders.
    const QSize frame(units.ToPixelsX(4),
                      QFontMetrics(font()).height() * 3 / 2 + units.ToPixelsY(4));
    const QSize room = available.size() - frame;
    const QSize wanted(units.ToPixelsX(m_widthUnits), units.ToPixelsY(m_heightUnits));
    const QSize size = wanted.boundedTo(room).expandedTo(minimumSizeHint());
    resize(size);
    move(available.x() + std::max(0, (available.width() - size.width() - frame.width()) / 2),
         available.y() + std::max(0, (available.height() - size.height() - frame.height()) / 2));
}

void CTableWindow::SetShowHook(ShowHook hook) {
    Hook() = std::move(hook);
}

void ShowTableWindow(const TableWindowContent& content, CDialog* parent) {
    CTableWindow window(content, QtWindowOf(parent));
    if (Hook()) {
        const CTableWindow::ShowHook run = Hook();
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
