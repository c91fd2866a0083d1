// Test support for the dialogs, the same on either twin: the user's answers
// to message boxes and file dialogs (CUiTestScript) and a private
// environment per test case (UiTestEnv).
//
// UiTestEnv gives one test case its own temporary directory with config/
// (the user's settings: XDG_CONFIG_HOME and HOME, or APPDATA), state/ (the
// conversion log: XDG_STATE_HOME, or LOCALAPPDATA), lumenda/ (LUMENDA_HOME)
// and work/ (the current directory), starts CUiTestScript and clears the
// modal hooks; everything is put back when it goes out of scope.
#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/sample_lists.h"
#include "support/scoped_env.h"
#include "support/scratch_dir.h"
#include "tests/ui/scripted_user.h"
#include "ui/platform/CommonDialogs.h"
#include "ui/platform/Dialog.h"

// The text a control of DLG shows (a label's, a button's, an edit's, or a
// combo box's edit field), as the dialog layer gives it.
inline std::string Shown(CDialog& dlg, int id) {
    return dlg.HasDlgItem(id) ? dlg.GetDlgItemText(id) : "<no control " + std::to_string(id) + ">";
}

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
    static void AcceptFileDialog(const std::string& path) { The().m_fileAnswers.push_back(path); }
    static void CancelFileDialog() { AcceptFileDialog(std::string()); }

    static const std::vector<MessageBoxRequest>& MessageBoxes() { return The().m_messageBoxes; }
    static const std::vector<FileDialogRequest>& FileDialogs() { return The().m_fileDialogs; }

    int Answer(const MessageBoxRequest& request) override {
        m_messageBoxes.push_back(request);
        return Next(m_messageAnswers, DefaultAnswer(request.type));
    }
    std::string Answer(const FileDialogRequest& request) override {
        m_fileDialogs.push_back(request);
        return Next(m_fileAnswers, std::string());
    }

private:
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
    std::deque<std::string> m_fileAnswers;  // an empty path cancels
    std::vector<MessageBoxRequest> m_messageBoxes;
    std::vector<FileDialogRequest> m_fileDialogs;
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

    // The absolute path of RELATIVE ('/' between its parts) inside the
    // test's directory, as the program composes paths on this system.
    std::string Path(const std::string& relative) const {
        return k2ltest::NativePath(m_dir.Path() + '/' + relative);
    }

    // Writes CONTENT into RELATIVE (creating its directory); returns its path.
    std::string Write(const std::string& relative, std::string_view content) const {
        m_dir.Write(relative, content);
        return Path(relative);
    }

    static std::string Read(const std::string& path) { return k2ltest::ReadFile(path); }

    // The program's file NAME among the user's state (the conversion log).
    std::string StatePath(const std::string& name) const {
#ifdef _WIN32
        return Path("state/Korr2LD/" + name);
#else
        return Path("state/korr2ld/" + name);
#endif
    }

    // Makes DIRECTORY (and EXTENSION) the data system's location of KEY, in
    // its settings file, or for this process only when IN_PROCESS (which
    // also takes what the file could not hold, such as a directory without
    // its separator).
    static bool ConfigureLocation(const char* key, const std::string& directory,
                                  const char* extension, bool inProcess = false) {
        return k2ltest::SetLocation(key, directory, extension,
                                    inProcess ? k2ltest::LocationScope::kThisProcess
                                              : k2ltest::LocationScope::kSettingsFile) == OSTREL_OK;
    }

private:
    // NAME inside the test's directory, made if it is not there.
    std::string Subdirectory(const char* name) const {
        std::filesystem::create_directories(m_dir.Path(name));
        return k2ltest::NativePath(m_dir.Path(name));
    }

    k2ltest::ScratchDir m_dir;
#ifdef _WIN32
    k2ltest::ScopedEnv m_config{"APPDATA", Subdirectory("config")};
    k2ltest::ScopedEnv m_state{"LOCALAPPDATA", Subdirectory("state")};
#else
    k2ltest::ScopedEnv m_config{"XDG_CONFIG_HOME", Subdirectory("config")};
    k2ltest::ScopedEnv m_home{"HOME", m_dir.Path("config")};
    k2ltest::ScopedEnv m_state{"XDG_STATE_HOME", Subdirectory("state")};
#endif
    k2ltest::ScopedEnv m_lumenda{"LUMENDA_HOME", Subdirectory("lumenda")};
    k2ltest::ScopedCurrentDir m_work{Subdirectory("work")};
};
