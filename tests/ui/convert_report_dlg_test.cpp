// What the conversion dialog tells the user: the result message's counts,
// warnings and skipped lines, the preview, an export dropped onto it, and
// how far a long conversion has come.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "datasystem/ostrel.h"
#include "tests/ui/probes_drop.h"
#include "tests/ui/probes_message_box.h"
#include "tests/ui/probes_progress.h"
#include "tests/ui/probes_table.h"
#include "tests/ui/ui_test_env.h"
#include "ui/ConversionProgress.h"
#include "ui/ConvertDlg.h"
#include "ui/ResourceIds.h"
#include "util/TsvField.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

// Three sample lines, the second with a decimal comma in column 3.
constexpr const char* kExport =
    "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n"
    "1\tBSA_1\t1.5\t2\tA1M2.5\tR1:3:5\tRack1\tdigest\n"
    "2\tBSA_2\t1,5\t2.25\tA2M2.5\tR1:1:2\tRack1\tdigest\n"
    "0\tunused\t0\t0\tA5M0\tR2:1:1\tRack2\tskipped\n";

void SetValues(CConvertDlg& dlg, const std::string& input, const std::string& output) {
    dlg.m_strInputFile = input;
    dlg.m_strOutputFile = output;
    dlg.m_strMSFile = "ESI_POS";
    dlg.m_strInletFile = "LC_30MIN";
    dlg.m_strMacroFile = "ACQUIRE";
    dlg.m_strDataFile = "plate7";
}

// TEXT's lines, without the empty ones.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            lines.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return lines;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST(ConvertReportDlg, ResultCarriesCountsAndWarningsBehindDetails) {
    UiTestEnv env;
    const std::string input = env.Write("plate7.txt", kExport);
    const std::string output = env.Path("plate7.sdb");
    CConvertDlg dlg;
    SetValues(dlg, input, output);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDC_CONVERT); });

    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const MessageBoxRequest& box = CUiTestScript::MessageBoxes().front();
    EXPECT_EQ(box.text, "Sample List " + output + " created successfully");
    EXPECT_EQ(box.detail,
              "5 records written, 2 sample lines read, 2 other lines skipped\n"
              "1 warning: see the details.");
    const std::vector<std::string> details = Lines(box.details);
    ASSERT_EQ(details.size(), 3u);
    EXPECT_TRUE(StartsWith(details[0], input + ":3:")) << details[0];
    EXPECT_TRUE(EndsWith(details[0], "[decimal-comma]")) << details[0];
    EXPECT_EQ(details[1], input + ":1: skipped: first column is text (Pos)");
    EXPECT_EQ(details[2], input + ":4: skipped: first column is zero (0)");

    // The conversion is in the log, with its counts and warnings.
    const std::vector<std::string> log = Lines(UiTestEnv::Read(env.StatePath("conversions.log")));
    ASSERT_EQ(log.size(), 1u);
    const std::vector<std::string_view> fields = SplitTsvLine(log.front());
    ASSERT_EQ(fields.size(), 15u);
    EXPECT_EQ(std::vector<std::string>(fields.begin() + 9, fields.end()),
              (std::vector<std::string>{"5", "2", "2", "1", "created", ""}));
}

TEST(ConvertReportDlg, DetailsAreReachedByTabAndScrolledAndAClashIsInTheMessage) {
    UiTestEnv env;
    std::string commas = "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n";
    for (int line = 1; line <= 80; ++line) {
        commas += std::to_string(line) + "\tS\t1,5\t2\tA1M2.5\tR1:1:1\tRack1\tx\n";
    }
    const std::string input = env.Write("plate7.txt", commas);
    CConvertDlg dlg;
    SetValues(dlg, input, env.Path("plate8.sdb"));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDC_CONVERT); });

    DetailsVisit visit;
    VisitMessageBoxDetails(&visit);
    // A second list beside the first with the same data file names.
    SetValues(dlg, input, env.Path("plate9.sdb"));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDC_CONVERT); });
    VisitMessageBoxDetails(nullptr);

    EXPECT_EQ(visit.boxes, 1);
    EXPECT_TRUE(visit.reached && visit.scrolled);
    const MessageBoxRequest& box = CUiTestScript::MessageBoxes().back();
    EXPECT_NE(box.detail.find("Data file clash: the Sample List " + env.Path("plate8.sdb") +
                              " also has records"),
              std::string::npos)
        << box.detail;
}

TEST(ConvertReportDlg, PreviewShowsTheRecordsAndWritesNothing) {
    UiTestEnv env;
    const std::string input = env.Write("plate7.txt", kExport);
    const std::string output = env.Path("plate7.sdb");
    const std::string settings = OstrelSettingsPath();
    int shown = 0;
    OnTableWindowShown([&](ShownTable& window) {
        ++shown;
        const TableView view = ViewOf(window);
        ASSERT_EQ(view.cells.size(), 5u);
        ASSERT_GE(view.cells[0].size(), 3u);
        EXPECT_EQ(view.cells[0][1], "plate001");
        EXPECT_EQ(view.cells[4][1], "[plate005]");
        EXPECT_EQ(view.cells[4][2], "Fraction:2, 1.00, 2.25");
        EXPECT_TRUE(StartsWith(view.summary, "5 records to write")) << view.summary;
        EXPECT_NE(view.notes.find("[decimal-comma]"), std::string::npos) << view.notes;
        EXPECT_TRUE(view.resizable);
        // Tab leaves the table for the warnings and Close; both panes are named.
        FocusTable(window);
        PressIn(window, Key::kTab);
        EXPECT_EQ(FocusedPart(window), TablePart::kNotes);
        PressIn(window, Key::kTab);
        EXPECT_EQ(FocusedPart(window), TablePart::kClose);
        EXPECT_EQ(view.tableName, "Records");
        EXPECT_EQ(view.notesName, "Warnings and skipped lines");
        PressIn(window, Key::kEscape);
        EXPECT_FALSE(IsShown(window));
    });
    CConvertDlg dlg;
    SetValues(dlg, input, output);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDC_PREVIEW); });
    OnTableWindowShown(nullptr);

    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(std::filesystem::exists(settings)) << settings;  // no location stored
}

TEST(ConvertReportDlg, DroppedExportIsTakenAsIfSelected) {
    UiTestEnv env;
    const std::string input = env.Write("Runs/Plate9.txt", kExport);
    CConvertDlg dlg;
    SetValues(dlg, "[Not Specified]", env.Path("Lists/old.sdb"));
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        EXPECT_TRUE(AcceptsDroppedFiles(d));
        EXPECT_EQ(DropFiles(d, {input}), DropAnswer::kTaken);
        EXPECT_EQ(Shown(d, IDC_INPUT_FILE), input);
        EXPECT_EQ(Shown(d, IDC_OUTPUT_FILE), env.Path("Lists/Plate9.sdb"));
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "Plate9");
        EXPECT_TRUE(d.IsControlEnabled(IDC_CONVERT));
    });
    EXPECT_EQ(dlg.m_strInputFile, input);
}

TEST(ConvertReportDlg, DroppedFolderDeviceMissingFileOrTwoFilesAreRefused) {
    UiTestEnv env;
#ifdef _WIN32
    const std::string device = "NUL";
#else
    const std::string device = "/dev/null";
    const std::string fifo = env.Path("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
#endif
    CConvertDlg dlg;
    SetValues(dlg, "[Not Specified]", env.Path("old.sdb"));
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        const std::string input = env.Write("in.txt", kExport);
        const std::vector<std::vector<std::string>> rows = {
            {env.Path("work")},
            {device},
            {env.Path("no")},
            {input, input},  // two files at once are not an export
#ifndef _WIN32
            {fifo},  // Windows has no fifo in its file system
#endif
        };
        for (const std::vector<std::string>& paths : rows) {
            SCOPED_TRACE(paths.front() + (paths.size() > 1 ? " and more" : ""));
            EXPECT_EQ(DropFiles(d, paths), DropAnswer::kRefused);
        }
    });
    EXPECT_EQ(dlg.m_strInputFile, "[Not Specified]");
}

TEST(ConvertReportDlg, LongConversionCountsRecordsInTheTitleAndKeepsPainting) {
    UiTestEnv env;
    std::string lines = "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n";
    for (int i = 1; i <= 3000; ++i) {
        lines += std::to_string(i) + "\tS\t1.5\t2\tA1M2.5\tR1:1:1\tRack1\tx\n";
    }
    CConvertDlg dlg;
    SetValues(dlg, env.Write("plate7.txt", lines), env.Path("plate7.sdb"));
    ConversionProgress::SetInterval(std::chrono::milliseconds(0));
    std::vector<std::string> titles;
    bool painted = false;
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        const TitleWatch watch(d);
        d.SendCommand(IDC_CONVERT);
        titles = watch.Titles();
        painted = watch.PaintedWhileCounting();
    });
    ConversionProgress::SetInterval(std::chrono::milliseconds(100));
    EXPECT_TRUE(painted);
    ASSERT_EQ(titles.size(), 3001u);
    EXPECT_EQ(titles.front(), "Korrin File Conversion - 1 record");
    EXPECT_EQ(titles[2999], "Korrin File Conversion - 3,000 records");
    EXPECT_EQ(titles.back(), "Korrin File Conversion");
    EXPECT_EQ(CUiTestScript::MessageBoxes().at(0).caption, titles.back());
}
