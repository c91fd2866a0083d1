#include "ui/ConversionProgress.h"

#include <QCoreApplication>
#include <QLocale>
#include <QWidget>

ConversionProgress::ConversionProgress(QWidget& window)
    : m_window(window), m_title(window.windowTitle()) {
    m_sinceShown.start();
}

ConversionProgress::~ConversionProgress() {
    m_window.setWindowTitle(m_title);
}

void ConversionProgress::Record() {
    ++m_records;
    if (m_sinceShown.elapsed() < s_interval.count()) {
        return;
    }
    m_window.setWindowTitle(Title(m_title, m_records));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceShown.restart();
}

QString ConversionProgress::Title(const QString& title, std::int64_t records) {
    // Grouped in thousands as the program's English texts are.
    return QStringLiteral("%1 - %2 %3")
        .arg(title, QLocale(QLocale::English).toString(static_cast<qlonglong>(records)),
             records == 1 ? QStringLiteral("record") : QStringLiteral("records"));
}
