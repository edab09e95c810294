#include "storage/settings.h"
#include "windows/program.h"
#include "windows/qtprompter.h"
#include "wordlists/shareaddress.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Program::prepareApplication();

    QtPrompter prompter;
    Settings settings;
    Program program(prompter, settings, sharebase());
    program.show();
    return QApplication::exec();
}
