// The busy window's titles and paintings on the Qt twin: an event filter on
// the dialog's window.
#include "tests/ui/probes_progress.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "ui/platform/qt/DialogWindow.h"

class TitleWatch::Watcher : public QObject {
public:
    explicit Watcher(QWidget& window) : m_window(window) {
        m_window.installEventFilter(this);
        // Due at the first chance the event loop gets.
        QTimer::singleShot(0, &m_window, [this] { m_window.update(); });
    }
    ~Watcher() override { m_window.removeEventFilter(this); }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    std::vector<std::string> titles;
    bool paintedWhileCounting = false;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        const QString title = m_window.windowTitle();
        if (event->type() == QEvent::WindowTitleChange) {
            titles.push_back(title.toStdString());
        }
        paintedWhileCounting |= event->type() == QEvent::Paint && title.contains(u'-');
        return false;
    }

private:
    QWidget& m_window;
};

TitleWatch::TitleWatch(CDialog& dlg) : m_watcher(std::make_unique<Watcher>(dlg.Window())) {}

TitleWatch::~TitleWatch() = default;

const std::vector<std::string>& TitleWatch::Titles() const {
    return m_watcher->titles;
}

bool TitleWatch::PaintedWhileCounting() const {
    return m_watcher->paintedWhileCounting;
}
