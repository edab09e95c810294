#include "appinfo.h"
#include "engine/bank.h"
#include "engine/classset.h"
#include "i18n/texttable.h"
#include "importers/wordimport.h"
#include "print/worksheets.h"
#include "storage/folders.h"
#include "storage/settings.h"
#include "widgets/qtprompter.h"
#include "widgets/zoom.h"
#include "windows/endsignals.h"
#include "windows/mainwindow.h"
#include "windows/program.h"
#include "wordlists/glossary.h"
#include "wordlists/shareaddress.h"
#include "wordlists/wordliststore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

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

// A class set to write instead of starting the game.
struct WorksheetJob {
    QString file;
    WorksheetSet set;
    int langid = 0;
};

// --new-game: the game starts on this list dealt.
struct NewGameJob {
    WordSet words;
    int level = 0;
    std::optional<quint64> seed;
};

// The user's word lists, read only: lists.txt of the data folder, or the lists the game would
// seed it with before its first start.
QList<WordSet> wordlists()
{
    QString file = wordlistfile(datafolder());
    if (!QFileInfo::exists(file))
        file = programdatafile(QStringLiteral("lists.txt"));
    WordListStore store(file);
    (void)store.Load(); // an unreadable file leaves the built-in lists, which is enough here
    QList<WordSet> lists;
    for (int position = 1; position <= store.Count(); ++position)
        lists.append(store.Get(position));
    return lists;
}

// The level a --level names: its number, or its name in any of the three languages, letter
// case ignored.
std::optional<int> levelNamed(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return number >= 0 && number < PuzzleBank::kLevels ? std::optional<int>(number)
                                                           : std::nullopt;
    const TextTables texts;
    const QString wanted = text.trimmed();
    for (int language = 0; language < TextTables::kLanguages; ++language)
        for (int level = 0; level < PuzzleBank::kLevels; ++level)
            if (wanted.compare(texts.lang(language).value(levelNameKey(level)),
                               Qt::CaseInsensitive) == 0)
                return level;
    return std::nullopt;
}

// Any 64-bit whole number, signed or not; a negative one stands for its two's complement, so
// that each seed deals its own puzzles and the same seed the same ones.
std::optional<quint64> seedNamed(const QString &text)
{
    bool ok = false;
    if (const qint64 signedSeed = text.toLongLong(&ok); ok)
        return quint64(signedSeed);
    if (const quint64 seed = text.toULongLong(&ok); ok)
        return seed;
    return std::nullopt;
}

// The list --list names, or the message that says there is none.
QString readList(const QCommandLineParser &parser, WordSet &words)
{
    const QString title = parser.value(QStringLiteral("list"));
    if (!parser.isSet(QStringLiteral("list")))
        return QStringLiteral("--list must name a word list by its title");
    const QList<WordSet> lists = wordlists();
    const auto found = std::find_if(lists.cbegin(), lists.cend(),
                                    [&title](const WordSet &list) { return list.title == title; });
    if (found != lists.cend()) {
        words = *found;
        return {};
    }
    QStringList titles;
    for (const WordSet &list : lists)
        titles.append(QStringLiteral("'%1'").arg(list.title));
    return QStringLiteral("no word list is titled '%1'; the lists are %2")
        .arg(title, titles.join(QStringLiteral(", ")));
}

QString readSeed(const QCommandLineParser &parser, std::optional<quint64> &seed)
{
    if (!parser.isSet(QStringLiteral("seed")))
        return {};
    const QString text = parser.value(QStringLiteral("seed"));
    seed = seedNamed(text);
    if (seed)
        return {};
    return QStringLiteral("--seed must be a whole number from %1 to %2, not '%3'")
        .arg(std::numeric_limits<qint64>::min())
        .arg(std::numeric_limits<quint64>::max())
        .arg(text);
}

// The options of --new-game: a list, and a level and a seed if given.
QString readNewGameJob(const QCommandLineParser &parser, NewGameJob &job)
{
    SettingsState kept;
    WordSet palette;
    Settings().loadsettings(kept, palette);
    job.level = kept.newgamelevel;
    if (parser.isSet(QStringLiteral("level"))) {
        const QString level = parser.value(QStringLiteral("level"));
        const std::optional<int> named = levelNamed(level);
        if (!named)
            return QStringLiteral("--level must be 0 to 4 or a level's name (easy, standard, "
                                  "hard, expert, extreme), not '%1'")
                .arg(level);
        job.level = *named;
    }
    if (const QString error = readSeed(parser, job.seed); !error.isEmpty())
        return error;
    return readList(parser, job.words);
}

// The options of --worksheets, checked before anything is drawn; a message for a usage error.
QString readWorksheetJob(const QCommandLineParser &parser, WorksheetJob &job)
{
    job.file = parser.value(QStringLiteral("worksheets"));
    const QString level = parser.value(QStringLiteral("level"));
    const std::optional<int> named = levelNamed(level);
    if (!parser.isSet(QStringLiteral("level")) || !named)
        return QStringLiteral("--level must be 0 to 4 or a level's name (easy, standard, hard, "
                              "expert, extreme), not '%1'")
            .arg(level);
    job.set.level = *named;
    bool ok = false;
    job.set.count = parser.value(QStringLiteral("count")).toInt(&ok);
    if (!parser.isSet(QStringLiteral("count")) || !ok || job.set.count < 1 ||
        job.set.count > kMaxClassSetSize)
        return QStringLiteral("--count must be 1 to %1, not '%2'")
            .arg(kMaxClassSetSize)
            .arg(parser.value(QStringLiteral("count")));
    if (const QString error = readSeed(parser, job.set.seed); !error.isEmpty())
        return error;
    if (parser.isSet(QStringLiteral("shading"))) {
        const QString shading = parser.value(QStringLiteral("shading")).toLower();
        if (shading == QLatin1String("colour") || shading == QLatin1String("color"))
            job.set.shading = Shading::Colour;
        else if (shading == QLatin1String("grey") || shading == QLatin1String("gray"))
            job.set.shading = Shading::Grey;
        else if (shading == QLatin1String("none"))
            job.set.shading = Shading::None;
        else
            return QStringLiteral("--shading must be colour, grey or none, not '%1'")
                .arg(parser.value(QStringLiteral("shading")));
    }
    if (const QString error = readList(parser, job.set.words); !error.isEmpty())
        return error;
    if (parser.isSet(QStringLiteral("language"))) {
        const QStringList codes{QStringLiteral("en"), QStringLiteral("zh"), QStringLiteral("ja")};
        job.langid = int(codes.indexOf(parser.value(QStringLiteral("language")).toLower()));
        if (job.langid < 0)
            return QStringLiteral("--language must be en, zh or ja, not '%1'")
                .arg(parser.value(QStringLiteral("language")));
    } else {
        SettingsState settings;
        WordSet palette;
        Settings().loadsettings(settings, palette);
        job.langid = settings.langid;
    }
    // The word bank: the user's readings and meanings over the program's, in the sheets'
    // language. An unreadable glossary leaves the seed's, which is enough here.
    Glossary::read(Glossary::fileIn(datafolder())).fill(job.set.words, job.langid);
    return {};
}

// --import: the lists of a file added to the user's lists.txt, without a window, in the language
// the game was last set to. The data folder is prepared and seeded as the game does at start.
int importLists(const QString &file)
{
    SettingsState settings;
    WordSet palette;
    Settings().loadsettings(settings, palette);
    TextTables texts;
    texts.setLangid(settings.langid);
    texts.selectLanguage();
    QString listsFile;
    preparefolders([&listsFile](const QString &dataFolder) {
        listsFile = wordlistfile(dataFolder);
        seedwordlists(listsFile, programdatafile(QStringLiteral("lists.txt")));
    });
    WordListStore store(listsFile);
    QTextStream out(stdout), err(stderr);
    // As in the Word List dialog: a file that cannot be read leaves the built-in lists, and the
    // store keeps a copy of it before its first rewrite.
    if (const StoreResult loaded = store.Load(); !loaded)
        err << "vaskelio: " << loaded.error().message << '\n';
    const ImportRun run = runimport(file, store, texts);
    for (const QString &line : run.out)
        out << line << '\n';
    out.flush();
    for (const QString &line : run.err)
        err << "vaskelio: " << line << '\n';
    return run.status;
}

// Reads the command line before any window exists: --help and --version print and end the
// program, a mistake is a usage error (exit 2). Empty when the game is to start or, with job
// set, the worksheets are to be written.
std::optional<int> readCommandLine(int &argc, char **argv, std::optional<WorksheetJob> &job,
                                   std::optional<NewGameJob> &game)
{
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A 9 x 9 Sudoku played with nine words in place of the digits, for learning vocabulary."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    addToolkitOptions(parser);
    parser.addOptions({
        {QStringLiteral("import"),
         QStringLiteral("Adds the word lists of <file> to yours and ends, without a window: a "
                        "table exported by Vaskelio, an Anki text export or package (.apkg), "
                        "Mnemosyne's tab-separated text or KDE Parley's KVTML. Flash cards make "
                        "lists of nine, titled after their deck."),
         QStringLiteral("file")},
        {QStringLiteral("new-game"),
         QStringLiteral("Starts the game on the word list --list names, dealt at --level (by "
                        "default the New Game dialog's), from --seed if given.")},
        {QStringLiteral("worksheets"),
         QStringLiteral("Writes a class set of worksheets to <file> as a PDF and ends, without a "
                        "window: different puzzles, one a page, then their answer key."),
         QStringLiteral("file")},
        {QStringLiteral("level"),
         QStringLiteral(
             "With --worksheets or --new-game: the level, 0 Easy, 1 Standard, 2 Hard, 3 Expert, "
             "4 Extreme, by number or by name (easy ... extreme, or the level's "
             "Chinese or Japanese name)."),
         QStringLiteral("level")},
        {QStringLiteral("list"),
         QStringLiteral(
             "With --worksheets or --new-game: the title of the word list (a built-in list or one "
             "of yours)."),
         QStringLiteral("title")},
        {QStringLiteral("count"),
         QStringLiteral("With --worksheets: the number of sheets, 1 to 100."), QStringLiteral("n")},
        {QStringLiteral("seed"),
         QStringLiteral("With --worksheets or --new-game: any whole number of 64 bits, negative "
                        "too; the same seed deals the same puzzles."),
         QStringLiteral("s")},
        {QStringLiteral("language"),
         QStringLiteral("With --worksheets: the language of the sheets' texts, en, zh or ja; "
                        "by default the game's."),
         QStringLiteral("code")},
        {QStringLiteral("shading"),
         QStringLiteral("With --worksheets: the shaded boxes and the legend in colour (the "
                        "default), grey or none, to save ink."),
         QStringLiteral("ink")},
    });
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
    const int modes = int(parser.isSet(QStringLiteral("import"))) +
                      int(parser.isSet(QStringLiteral("worksheets"))) +
                      int(parser.isSet(QStringLiteral("new-game")));
    if (modes > 1) {
        err << "vaskelio: --import, --worksheets and --new-game go one at a time\n";
        return 2;
    }
    if (parser.isSet(QStringLiteral("new-game"))) {
        for (const char *name : {"count", "language", "shading"}) {
            if (parser.isSet(QString::fromLatin1(name))) {
                err << "vaskelio: --" << name << " goes with --worksheets\n";
                return 2;
            }
        }
        NewGameJob wanted;
        if (const QString error = readNewGameJob(parser, wanted); !error.isEmpty()) {
            err << "vaskelio: " << error << '\n';
            return 2;
        }
        game = wanted;
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("worksheets"))) {
        WorksheetJob wanted;
        if (const QString error = readWorksheetJob(parser, wanted); !error.isEmpty()) {
            err << "vaskelio: " << error << '\n';
            return 2;
        }
        job = wanted;
    } else {
        for (const char *name : {"level", "list", "count", "seed", "language", "shading"}) {
            if (parser.isSet(QString::fromLatin1(name))) {
                err << "vaskelio: --" << name << " goes with --worksheets\n";
                return 2;
            }
        }
        if (parser.isSet(QStringLiteral("import"))) {
            err.flush();
            return importLists(parser.value(QStringLiteral("import")));
        }
    }
    return std::nullopt;
}

QtMessageHandler previousHandler = nullptr;
// The line said when there is no display, naming the program as it was started.
std::string noDisplayLine;

// A word a shell takes as it is: quoted when it holds anything but the usual path characters.
std::string shellword(const std::string &word)
{
    const bool plain =
        !word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                                "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "0123456789/._-+") == std::string::npos;
    if (plain)
        return word;
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Without a display the toolkit ends the process with advice to reinstall it. Said plainly
// instead, in one line, and the toolkit's own lines about it are held back.
void noDisplayHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs(noDisplayLine.c_str(), stderr);
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
    std::optional<WorksheetJob> job;
    std::optional<NewGameJob> newGame;
    if (const std::optional<int> done = readCommandLine(argc, argv, job, newGame))
        return *done;
    if (job) {
        // Drawn off screen, so that it runs where there is no desktop session.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        Program::prepareApplication();
        TextTables texts;
        texts.setLangid(job->langid);
        texts.selectLanguage();
        if (const Status written = writeWorksheets(job->file, job->set, texts); !written) {
            std::fprintf(stderr, "vaskelio: %s\n", qPrintable(written.error()));
            return 1;
        }
        return 0;
    }

    // The command that works: this program by the name it was started with, so a build tree's
    // path where that is what ran, under xvfb-run, which takes a free display number with -a.
    noDisplayLine = "vaskelio: cannot open a window: it needs a desktop session (X11 or Wayland). "
                    "Without one, run it under Xvfb (Debian package xvfb): xvfb-run -a " +
                    shellword(argc > 0 ? argv[0] : "vaskelio") + "\n";

    // The toolkit takes its scale factor only before the application object exists.
    {
        SettingsState kept;
        WordSet palette;
        Settings().loadsettings(kept, palette);
        applyZoom(kept.zoom);
    }
    previousHandler = qInstallMessageHandler(noDisplayHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(previousHandler);
    Program::prepareApplication();

    int status = 0;
    bool restart = false;
    {
        // Before the windows, so that a signal in the start-up waits for the event loop.
        EndSignals endSignals;
        QtPrompter prompter;
        Settings settings;
        // A seed deals the first game only; the games after it are drawn as always.
        Program program(prompter, settings, sharebase(),
                        newGame && newGame->seed ? RandomSource::seededDeal(*newGame->seed)
                                                 : RandomSource::Clock());
        // As on Close, without the question; the settings are written as the program object goes.
        QObject::connect(&endSignals, &EndSignals::received, &app, [&program] {
            program.mainWindow().endsession();
            QApplication::quit();
        });
        program.show();
        if (newGame)
            program.mainWindow().newgame(newGame->level, newGame->words);
        status = QApplication::exec();
        restart = program.restartRequested();
    }
    // The settings are written as the program's windows go: the new program reads them.
    if (restart) {
        restoreScaleFactor();
        if (!QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                     QCoreApplication::arguments().mid(1)))
            return 1;
    }
    return status;
}
