// What korr2ld makes of its command line and its environment, before any
// window exists; and the export named there, which the dialog starts with
// as if it had been chosen with the input's Select... button.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ConvertApp.h"
#include "support/scoped_env.h"
#include "tests/app/app_runner.h"
#include "tests/ui/ui_test_env.h"
#include "ui/ConvertDlg.h"

namespace {

using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

// Runs the application with START_FILE on its command line; BODY acts on
// its dialog, which is then closed.
void RunAppWith(const std::string& startFile, const std::function<void(CConvertDlg&)>& body) {
    CConvertApp app;
    app.m_strStartFile = startFile;
    RunConvertApp(app, body);
}

// ParseCommandLine's ARGUMENTS: the program's PATH, then ARGS.
QStringList CommandLine(const char* path, const std::vector<std::string>& args) {
    QStringList arguments{QString::fromUtf8(path)};
    for (const std::string& arg : args) {
        arguments << QString::fromStdString(arg);
    }
    return arguments;
}

}  // namespace

TEST(CommandLineTest, Arguments) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        bool run;
        int exitCode;
        std::string out;   // what standard output starts with
        std::string err;   // what standard error contains
        std::string file;  // the file to start with, relative to work/
    } rows[] = {
        {"nothing", {}, true, 0, "", "", ""},
        {"a file", {"plate7.txt"}, true, 0, "", "", "plate7.txt"},
        {"a file after --", {"--", "-x.txt"}, true, 0, "", "", "-x.txt"},
        {"--version", {"--version"}, false, 0, "korr2ld " K2L_VERSION "\n", "", ""},
        {"-v", {"-v"}, false, 0, "korr2ld " K2L_VERSION "\n", "", ""},
        {"--help", {"--help"}, false, 0, "Usage: korr2ld ", "", ""},
        {"-h before a file", {"-h", "plate7.txt"}, false, 0, "Usage: korr2ld ", "", ""},
        {"missing file", {"gone.txt"}, false, 2, "", "korr2ld: gone.txt: no such file", ""},
        {"a directory", {"folder"}, false, 2, "", "korr2ld: folder: not a file", ""},
        {"two files", {"plate7.txt", "plate7.txt"}, false, 2, "", "one FILE at most", ""},
        {"unknown option", {"--bogus"}, false, 2, "", "bogus", ""},
        {"Qt's help-all is not offered", {"--help-all"}, false, 2, "", "help-all", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        UiTestEnv env;
        env.Write("work/plate7.txt", "");
        env.Write("work/-x.txt", "");
        ASSERT_TRUE(std::filesystem::create_directory(env.Path("work/folder")));

        std::ostringstream out;
        std::ostringstream err;
        const StartRequest request =
            ParseCommandLine(CommandLine("/usr/bin/korr2ld", row.args), out, err);
        EXPECT_EQ(request.bRun, row.run);
        EXPECT_EQ(request.nExitCode, row.exitCode);
        EXPECT_EQ(request.strFile, row.file);
        EXPECT_THAT(out.str(), StartsWith(row.out));
        if (row.out.empty()) {
            EXPECT_EQ(out.str(), "");
        }
        if (row.err.empty()) {
            EXPECT_EQ(err.str(), "");
        } else {
            EXPECT_THAT(err.str(), HasSubstr(row.err));
            EXPECT_THAT(err.str(), HasSubstr("korr2ld --help"));
        }
    }
}

TEST(CommandLineTest, HelpNamesTheProgramAndItsArgument) {
    std::ostringstream out;
    std::ostringstream err;
    ParseCommandLine(CommandLine("/some/where/korr2ld", {"--help"}), out, err);
    const std::string help = out.str();
    // Not by the path it was started with (this test's own, which the core
    // application holds).
    EXPECT_THAT(help, Not(HasSubstr(QCoreApplication::arguments().constFirst().toStdString())));
    for (const char* word : {"[FILE]", "--help", "--version", "korr2ld-cli"}) {
        EXPECT_THAT(help, HasSubstr(word));
    }
}

TEST(CommandLineTest, GraphicalSession) {
    const std::optional<std::string> unset;
    const struct {
        const char* name;
        std::optional<std::string> display;
        std::optional<std::string> wayland;
        std::optional<std::string> platform;
        bool graphical;
    } rows[] = {
        {"nothing set", unset, unset, unset, false},
        {"all empty", "", "", "", false},
        {"X11", ":0", unset, unset, true},
        {"Wayland", unset, "wayland-0", unset, true},
        {"a chosen Qt platform", unset, unset, "offscreen", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const k2ltest::ScopedEnv d("DISPLAY", row.display);
        const k2ltest::ScopedEnv w("WAYLAND_DISPLAY", row.wayland);
        const k2ltest::ScopedEnv p("QT_QPA_PLATFORM", row.platform);
        EXPECT_EQ(HasGraphicalSession(), row.graphical);
    }
}

TEST(CommandLineTest, StartFileIsChosenAsSelectWouldChooseIt) {
    UiTestEnv env;
    ASSERT_TRUE(UiTestEnv::ConfigureLocation("MS_FUNC_DB", env.Path("ms/"), "ms"));
    env.Write("ms/ESI_POS.ms", "");
    env.Write("config/Korr2LD.INI", "[Files]\nOutput=" + env.Path("lists/old.sdb") + "\nMS=esi\n");
    const std::string input = env.Write("work/runs/plate7.txt", "");
    // Relative to the current directory, as a shell passes it.
    RunAppWith("runs/plate7.txt", [&](CConvertDlg& dlg) {
        EXPECT_EQ(Shown(dlg, IDC_INPUT_FILE), input);
        EXPECT_EQ(Shown(dlg, IDC_OUTPUT_FILE), env.Path("lists/plate7.sdb"));
        EXPECT_EQ(Shown(dlg, IDC_DATA_FILE), "plate7");
        // The exchange towards the controls after the choice matched the list.
        EXPECT_EQ(Shown(dlg, IDC_MS_FILE), "ESI_POS");
        EXPECT_TRUE(dlg.IsControlEnabled(IDC_CONVERT));
    });
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
    EXPECT_TRUE(CUiTestScript::FileDialogs().empty());
    const std::string saved = UiTestEnv::Read(env.Path("config/Korr2LD.INI"));
    EXPECT_THAT(saved, HasSubstr("Input=" + input + "\n"));
    EXPECT_THAT(saved, HasSubstr("Data=plate7\n"));
}

TEST(CommandLineTest, StartFileGoesThroughTheSameValidationAsSelect) {
    UiTestEnv env;
    env.Write("config/Korr2LD.INI", "[Files]\nMacro=MACRO_TOO_LONG\n");
    env.Write("work/plate7.txt", "");
    RunAppWith("plate7.txt", [&](CConvertDlg& dlg) {
        // Refused as Select... would refuse it: nothing was chosen.
        EXPECT_EQ(CUiTestScript::MessageBoxes().size(), 1u);
        EXPECT_EQ(Shown(dlg, IDC_INPUT_FILE), "[Not Specified]");
        EXPECT_EQ(Shown(dlg, IDC_DATA_FILE), "");
    });
}

TEST(CommandLineTest, WithoutStartFileTheRememberedInputStands) {
    UiTestEnv env;
    const std::string remembered = env.Write("work/old.txt", "");
    env.Write("config/Korr2LD.INI", "[Files]\nInput=" + remembered + "\nData=OLD\n");
    RunAppWith(std::string(), [&](CConvertDlg& dlg) {
        EXPECT_EQ(Shown(dlg, IDC_INPUT_FILE), remembered);
        EXPECT_EQ(Shown(dlg, IDC_OUTPUT_FILE), "[Not Specified]");
        EXPECT_EQ(Shown(dlg, IDC_DATA_FILE), "OLD");
    });
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
}
