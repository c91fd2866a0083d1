#include "ui/PreviewWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/TextCodec.h"

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
      m_findings(new QPlainTextEdit(this)) {
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

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_table);
    splitter->addWidget(m_findings);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
    resize(900, 560);
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
