#include "appinfo.h"
#include "storage/settings.h"
#include "widgets/qtprompter.h"
#include "windows/program.h"
#include "wordlists/shareaddress.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {
// The options QApplication takes for itself (-platform xcb, -style fusion, ...), accepted so that
// they reach it; hidden from --help.
void addToolkitOptions(QCommandLineParser &parser)
{
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowtitle", "qwindowicon", "display",
                             "geometry", "style", "stylesheet", "session", "title"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// Reads the command line before any window exists: --help and --version print and end the
// program, a mistake is a usage error (exit 2). Empty when the game is to start.
std::optional<int> readCommandLine(int &argc, char **argv)
{
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A 9 x 9 Sudoku played with nine words in place of the digits, for learning vocabulary."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    addToolkitOptions(parser);
    QTextStream out(stdout), err(stderr);
    if (!parser.parse(core.arguments()) || !parser.positionalArguments().isEmpty()) {
        err << "vaskelio: "
            << (parser.errorText().isEmpty() ? QStringLiteral("unexpected argument '%1'")
                                                   .arg(parser.positionalArguments()[0])
                                             : parser.errorText())
            << "\nRun 'vaskelio --help' for the options.\n";
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        out << parser.helpText();
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << "vaskelio " << appinfo::kVersion << '\n';
        return 0;
    }
    return std::nullopt;
}

QtMessageHandler previousHandler = nullptr;

// Without a display the toolkit ends the process with advice to reinstall it. Said plainly
// instead, in one line, and the toolkit's own lines about it are held back.
void noDisplayHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs("vaskelio: cannot open a window: it needs a desktop session (X11 or Wayland). "
                   "Without one, run it under Xvfb: xvfb-run vaskelio\n",
                   stderr);
        std::_Exit(1);
    }
    if (context.category && QByteArray(context.category).startsWith("qt.qpa"))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QString::fromLatin1(appinfo::kName));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(appinfo::kVersion));
    if (const std::optional<int> done = readCommandLine(argc, argv))
        return *done;

    previousHandler = qInstallMessageHandler(noDisplayHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(previousHandler);
    Program::prepareApplication();

    QtPrompter prompter;
    Settings settings;
    Program program(prompter, settings, sharebase());
    program.show();
    return QApplication::exec();
}
