// Test support for the dialogs: the user as a test scripts it, a private
// environment per test case and a main() for Qt Test executables.
//
// UiTestEnv gives one test case its own temporary directory with
// config/ (XDG_CONFIG_HOME, HOME), state/ (XDG_STATE_HOME), lumenda/
// (LUMENDA_HOME) and work/ (the current directory), starts a message-box
// and file-dialog script (CUiTestScript) and clears the modal hooks;
// everything is put back when it goes out of scope.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/sample_lists.h"
#include "support/scoped_env.h"
#include "support/scratch_dir.h"
#include "ui/platform/CommonDialogs.h"
#include "ui/platform/Dialog.h"
#include "ui/platform/qt/DialogWindow.h"

// The text a control of DLG shows (a label's, a button's, an edit's, or a
// combo box's edit field), as the dialog layer gives it.
inline QString Shown(CDialog& dlg, int id) {
    if (!dlg.HasDlgItem(id)) {
        return QStringLiteral("<no control %1>").arg(id);
    }
    return QFile::decodeName(QByteArray::fromStdString(dlg.GetDlgItemText(id)));
}

// What a message box and a file dialog were asked to show, as the user
// reads it (the texts decoded as the locale's).
struct ShownMessageBox {
    QString text;
    QString caption;
    QString detail;
    QString details;
    UINT type;
};
struct ShownFileDialog {
    bool open;
    bool folder;
    QString title;
    QString initialDir;
    QString proposedName;
    QString filter;
    QString defaultExt;
};

// The user, as a test scripts it: while started, each message box and file
// dialog is recorded and takes the next answer scripted for its kind;
// without one, a message box answers with its default button and a file
// dialog is cancelled.
class CUiTestScript final : public ScriptedUser {
public:
    static void Start() {
        Stop();
        ScriptedUser::s_pInstalled = &The();
    }
    static void Stop() {
        ScriptedUser::s_pInstalled = nullptr;
        The() = CUiTestScript();
    }

    static void AnswerMessageBox(int answer) { The().m_messageAnswers.push_back(answer); }
    static void AcceptFileDialog(const QString& path) { The().m_fileAnswers.push_back(path); }
    static void CancelFileDialog() { AcceptFileDialog(QString()); }

    static const std::vector<ShownMessageBox>& MessageBoxes() { return The().m_messageBoxes; }
    static const std::vector<ShownFileDialog>& FileDialogs() { return The().m_fileDialogs; }

    int Answer(const MessageBoxRequest& request) override {
        m_messageBoxes.push_back({Text(request.text), Text(request.caption), Text(request.detail),
                                  Text(request.details), request.type});
        return Next(m_messageAnswers, DefaultAnswer(request.type));
    }
    std::string Answer(const FileDialogRequest& request) override {
        m_fileDialogs.push_back({request.open, request.folder, Text(request.title),
                                 Text(request.initialDir), Text(request.proposedName),
                                 Text(request.filter), Text(request.defaultExt)});
        return QFile::encodeName(Next(m_fileAnswers, QString())).toStdString();
    }

private:
    static QString Text(const std::string& text) {
        return QFile::decodeName(QByteArray::fromStdString(text));
    }
    static CUiTestScript& The() {
        static CUiTestScript script;
        return script;
    }
    template <typename T>
    static T Next(std::deque<T>& answers, T unscripted) {
        if (answers.empty()) {
            return unscripted;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<int> m_messageAnswers;
    std::deque<QString> m_fileAnswers;  // an empty path cancels
    std::vector<ShownMessageBox> m_messageBoxes;
    std::vector<ShownFileDialog> m_fileDialogs;
};

class UiTestEnv {
public:
    UiTestEnv() {
        CUiTestScript::Start();
        CDialog::ClearModalHooks();
    }

    ~UiTestEnv() {
        CDialog::ClearModalHooks();
        CUiTestScript::Stop();
    }

    UiTestEnv(const UiTestEnv&) = delete;
    UiTestEnv& operator=(const UiTestEnv&) = delete;

    // The absolute path of RELATIVE inside the test's directory.
    QString Path(const QString& relative) const {
        return QFile::decodeName(QByteArray::fromStdString(m_dir.Path())) + QLatin1Char('/') +
               relative;
    }
    std::string StdPath(const QString& relative) const {
        return QFile::encodeName(Path(relative)).toStdString();
    }

    // Writes CONTENT into RELATIVE (creating its directory); returns its path.
    QString Write(const QString& relative, const QByteArray& content) const {
        m_dir.Write(
            QFile::encodeName(relative).toStdString(),
            std::string_view(content.constData(), static_cast<std::size_t>(content.size())));
        return Path(relative);
    }

    static QByteArray Read(const QString& path) {
        return QByteArray::fromStdString(k2ltest::ReadFile(QFile::encodeName(path).toStdString()));
    }

    // Makes DIRECTORY (and EXTENSION) the data system's location of KEY, in
    // its settings file, or for this process only when IN_PROCESS (which
    // also takes what the file could not hold, such as a directory without
    // its separator).
    static bool ConfigureLocation(const char* key, const QString& directory, const char* extension,
                                  bool inProcess = false) {
        return k2ltest::SetLocation(key, QFile::encodeName(directory).toStdString(), extension,
                                    inProcess ? k2ltest::LocationScope::kThisProcess
                                              : k2ltest::LocationScope::kSettingsFile) == OSTREL_OK;
    }

private:
    // NAME inside the test's directory, made if it is not there.
    std::string Subdirectory(const char* name) const {
        std::filesystem::create_directories(m_dir.Path(name));
        return m_dir.Path(name);
    }

    k2ltest::ScratchDir m_dir;
    k2ltest::ScopedEnv m_config{"XDG_CONFIG_HOME", Subdirectory("config")};
    k2ltest::ScopedEnv m_home{"HOME", m_dir.Path("config")};
    k2ltest::ScopedEnv m_state{"XDG_STATE_HOME", m_dir.Path("state")};
    k2ltest::ScopedEnv m_lumenda{"LUMENDA_HOME", Subdirectory("lumenda")};
    k2ltest::ScopedCurrentDir m_work{Subdirectory("work")};
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
