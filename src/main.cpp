#include "storage/settings.h"
#include "windows/fonts.h"
#include "windows/program.h"
#include "windows/qtprompter.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vaskelio"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    installFontSubstitutes();

    QtPrompter prompter;
    Settings settings;
    Program program(prompter, settings);
    program.show();
    return QApplication::exec();
}
