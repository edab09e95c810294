#include "banktool.h"
#include "generator.h"

#include "appinfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

void printHelp(QTextStream &out)
{
    out << "Usage: vaskelio-bank COMMAND [ARGUMENTS]\n"
           "Makes and guards the puzzle bank of Vaskelio (data/bank/tk0.txt .. tk4.txt).\n"
           "\n"
           "Commands:\n"
           "  verify FILE...\n"
           "      Checks every line: 81 characters, column by column, of 1-9 (a given cell)\n"
           "      and A-I (a cell to fill, A=1 .. I=9); the solution a completed grid; the\n"
           "      givens with exactly one solution. Prints FILE:LINE: reason for each bad\n"
           "      line and exits 1 if there is any, 0 otherwise. Lines may end in LF,\n"
           "      CR LF or CR.\n"
           "  stats FILE...\n"
           "      Lines, given counts (min, max, mean), 17-given lines, repeated lines and\n"
           "      the histogram of ratings of each file.\n"
           "  rate [FILE...]\n"
           "      Rates each puzzle line of the files, or of standard input, by the hardest\n"
           "      technique a person needs and prints it before the line. Takes bank lines\n"
           "      or 81 digits row by row with 0 or . for an empty cell.\n"
           "  generate --seed N --out DIR [--minimal17 FILE]\n"
           "      Writes a new bank, tk0.txt .. tk4.txt, into DIR; the same seed gives the\n"
           "      same files byte for byte. The 17-given lines come from FILE (81 digits\n"
           "      row by row), by default the built-in copy of data/minimal17/puzzles17.txt.\n"
           "  help, --help\n"
           "      This text.\n"
           "  --version\n"
           "      The version.\n"
           "\n"
           "Ratings, from the easiest:";
    for (int k = 0; k < sudoku::kTechniqueCount; ++k)
        out << (k % 5 == 0 ? "\n  " : " ") << sudoku::techniqueName(sudoku::Technique(k));
    out << "\n\nExit codes: 0 all good, 1 a bad line or file, 2 a usage error.\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(appinfo::kVersion));
    QTextStream out(stdout), err(stderr);
    // Options before the command are the tool's own; whatever follows the command is its.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(app.arguments())) {
        err << "vaskelio-bank: " << parser.errorText() << '\n'
            << "Run 'vaskelio-bank --help' for the commands.\n";
        return 2;
    }
    if (parser.isSet(version)) {
        out << "vaskelio-bank " << appinfo::kVersion << '\n';
        return 0;
    }
    QStringList args = parser.positionalArguments();
    const QString command = parser.isSet(help) ? QStringLiteral("help")
                            : args.isEmpty()   ? QString()
                                               : args.takeFirst();
    if (command == QLatin1String("verify"))
        return banktool::runVerify(args, out, err);
    if (command == QLatin1String("stats"))
        return banktool::runStats(args, out, err);
    if (command == QLatin1String("rate"))
        return banktool::runRate(args, out, err);
    if (command == QLatin1String("generate"))
        return banktool::runGenerate(args, out, err);
    if (command == QLatin1String("help")) {
        printHelp(out);
        return 0;
    }
    if (command.isEmpty())
        err << "vaskelio-bank: name a command\n";
    else
        err << "vaskelio-bank: unknown command '" << command << "'\n";
    err << "Run 'vaskelio-bank --help' for the commands.\n";
    return 2;
}
