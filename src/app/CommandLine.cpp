#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdlib>
#include <ostream>

#include "ui/platform/qt/TextCodec.h"

namespace {

constexpr const char* kProgram = "korr2ld";

// The parser names the program by the path the running process was
// started with; the help names it as the manual page and the desktop do.
QString HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    const QString startedAs = QCoreApplication::arguments().value(0);
    const qsizetype at = text.left(text.indexOf(u'\n')).indexOf(startedAs);
    if (at >= 0 && !startedAs.isEmpty()) {
        text.replace(at, startedAs.size(), QString::fromLatin1(kProgram));
    }
    return text;
}

StartRequest UsageError(std::ostream& err, const QString& message) {
    err << kProgram << ": " << message.toLocal8Bit().constData() << "\n"
        << "Try '" << kProgram << " --help' for more information.\n";
    return StartRequest{false, 2, std::string()};
}

}  // namespace

StartRequest ParseCommandLine(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Korrin File Conversion: converts a Korrin export into a Lumenda Sample List in a "
        "dialog.\nkorr2ld-cli does the same conversion without a window."));
    // Not addHelpOption: its --help-all offers Qt's own options, which this
    // parser does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The Korrin export (tab-delimited text) to start with, chosen as the "
                       "input's Select... button would choose it."),
        QStringLiteral("[FILE]"));

    if (!parser.parse(arguments)) {
        return UsageError(err, parser.errorText());
    }
    if (parser.isSet(help)) {
        out << HelpText(parser).toLocal8Bit().constData();
        return StartRequest{false, 0, std::string()};
    }
    if (parser.isSet(version)) {
        out << kProgram << ' ' << K2L_VERSION << '\n';
        return StartRequest{false, 0, std::string()};
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        return UsageError(err, QStringLiteral("one FILE at most, not %1").arg(files.size()));
    }
    StartRequest request{true, 0, std::string()};
    if (!files.isEmpty()) {
        const QFileInfo file(files.constFirst());
        if (!file.exists()) {
            return UsageError(err, QStringLiteral("%1: no such file").arg(files.constFirst()));
        }
        if (!file.isFile()) {
            return UsageError(err, QStringLiteral("%1: not a file").arg(files.constFirst()));
        }
        request.strFile = EncodePath(files.constFirst());
    }
    return request;
}

bool HasGraphicalSession() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name)) {
            return true;
        }
    }
    return false;
}
