// Test support for the dialogs: a private environment per test case and a
// main() for Qt Test executables.
//
// UiTestEnv gives one test case its own temporary directory with
// config/ (XDG_CONFIG_HOME, HOME), state/ (XDG_STATE_HOME), lumenda/
// (LUMENDA_HOME) and work/ (the
// current directory), starts a message-box and file-dialog script and
// clears the modal hooks; everything is put back when it goes out of scope.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <string>

#include "datasystem/ostrel.h"
#include "ui/platform/Dialog.h"
#include "ui/platform/UiTestScript.h"

// The text a control of DLG shows: a label's, an edit's, or a combo box's
// edit field.
inline QString Shown(CDialog& dlg, int id) {
    QWidget* control = dlg.GetDlgItem(id);
    if (auto* label = dynamic_cast<QLabel*>(control)) {
        return label->text();
    }
    if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        return edit->text();
    }
    if (auto* combo = dynamic_cast<QComboBox*>(control)) {
        return combo->currentText();
    }
    return QStringLiteral("<no control %1>").arg(id);
}

class UiTestEnv {
public:
    UiTestEnv()
        : m_oldCwd(QDir::currentPath()),
          m_oldXdg(qgetenv("XDG_CONFIG_HOME")),
          m_oldLumenda(qgetenv("LUMENDA_HOME")),
          m_oldHome(qgetenv("HOME")),
          m_oldState(qgetenv("XDG_STATE_HOME")) {
        QDir root(m_dir.path());
        root.mkpath(QStringLiteral("config"));
        root.mkpath(QStringLiteral("lumenda"));
        root.mkpath(QStringLiteral("work"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Path("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(Path("state")));
        qputenv("HOME", QFile::encodeName(Path("config")));
        qputenv("LUMENDA_HOME", QFile::encodeName(Path("lumenda")));
        QDir::setCurrent(Path("work"));
        CUiTestScript::Start();
        CDialog::ClearModalHooks();
    }

    ~UiTestEnv() {
        CDialog::ClearModalHooks();
        CUiTestScript::Stop();
        QDir::setCurrent(m_oldCwd);
        Restore("XDG_CONFIG_HOME", m_oldXdg);
        Restore("LUMENDA_HOME", m_oldLumenda);
        Restore("HOME", m_oldHome);
        Restore("XDG_STATE_HOME", m_oldState);
    }

    UiTestEnv(const UiTestEnv&) = delete;
    UiTestEnv& operator=(const UiTestEnv&) = delete;

    bool IsValid() const { return m_dir.isValid(); }

    // The absolute path of RELATIVE inside the test's directory.
    QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    std::string StdPath(const QString& relative) const {
        return QFile::encodeName(Path(relative)).toStdString();
    }

    // Writes CONTENT into RELATIVE (creating its directory); returns its path.
    QString Write(const QString& relative, const QByteArray& content) const {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(content) != content.size()) {
            qFatal("cannot write %s", qPrintable(path));
        }
        return path;
    }

    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Makes DIRECTORY (and EXTENSION) the data system's location of KEY, in
    // its settings file, or for this process only when IN_PROCESS (which
    // also takes what the file could not hold, such as a directory without
    // its separator).
    static bool ConfigureLocation(const char* key, const QString& directory, const char* extension,
                                  bool inProcess = false) {
        GLOBAL_FILE_INFO info;
        std::memset(&info, 0, sizeof info);
        const QByteArray dir = QFile::encodeName(directory);
        if (static_cast<std::size_t>(dir.size()) >= sizeof info.szDirectory) {
            return false;
        }
        std::memcpy(info.szDirectory, dir.constData(), static_cast<std::size_t>(dir.size()));
        std::strncpy(info.szExtension, extension, sizeof info.szExtension - 1);
        if (inProcess) {
            return UseGlobalFileInProcess("SystemList", key, &info) == OSTREL_OK;
        }
        return StoreGlobalFile("SystemList", key, &info, 1) == OSTREL_OK;
    }

private:
    static void Restore(const char* name, const QByteArray& value) {
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }

    QTemporaryDir m_dir;
    QString m_oldCwd;
    QByteArray m_oldXdg;
    QByteArray m_oldLumenda;
    QByteArray m_oldHome;
    QByteArray m_oldState;
};

// main() for a Qt Test class: the offscreen platform unless one is chosen.
#define K2L_QTEST_MAIN(TestClass)                             \
    int main(int argc, char** argv) {                         \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) { \
            qputenv("QT_QPA_PLATFORM", "offscreen");          \
        }                                                     \
        QApplication app(argc, argv);                         \
        TestClass test;                                       \
        return QTest::qExec(&test, argc, argv);               \
    }
