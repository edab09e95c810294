#include "banktool.h"
#include "generator.h"

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
           "  help\n"
           "      This text.\n"
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
    QTextStream out(stdout), err(stderr);
    QStringList args = app.arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("verify"))
        return banktool::runVerify(args, out, err);
    if (command == QLatin1String("stats"))
        return banktool::runStats(args, out, err);
    if (command == QLatin1String("rate"))
        return banktool::runRate(args, out, err);
    if (command == QLatin1String("generate"))
        return banktool::runGenerate(args, out, err);
    if (command == QLatin1String("help") || command == QLatin1String("--help") ||
        command == QLatin1String("-h")) {
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
