#include "windows/printcommands.h"

#include "engine/prompter.h"
#include "engine/qj.h"
#include "game/gamesession.h"
#include "i18n/texttable.h"
#include "print/pageprinter.h"
#include "print/pdfpages.h"
#include "print/printform.h"
#include "print/printform2.h"
#include "widgets/savefile.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

#include <string_view>

PrintCommands::PrintCommands(QWidget *window, const GameSession &game, Prompter &prompter,
                             const TextTables &texts, Hooks hooks)
    : QObject(window), window_(window), game_(game), prompter_(prompter), texts_(texts),
      hooks_(std::move(hooks))
{
}

QList<QWidget *> PrintCommands::filledpages()
{
    const Pages pages = hooks_.pages();
    if (!pages.puzzle || !pages.solution)
        return {};
    pages.puzzle->translate(texts_);
    pages.solution->translate(texts_);
    const GameModel &model = game_.model();
    const TQJ puzzle = model.puzzle();
    // The words with their readings and meanings, for the pages' word banks.
    pages.puzzle->fill(puzzle, model.curwords());
    pages.solution->fill(puzzle, model.curwords());
    return {pages.puzzle->panel(), pages.solution->panel()};
}

void PrintCommands::failed(const QString &key, const QString &reason)
{
    prompter_.inform(texts_.uitext(key) + QLatin1Char('\n') + reason);
}

void PrintCommands::print()
{
    const QList<QWidget *> pages = filledpages();
    if (pages.isEmpty() || !printer_)
        return;
    // The pages are not part of the game: a failed job leaves the game as it was.
    if (const Status printed = printer_->printPages(pages); !printed)
        failed(QStringLiteral("msgnotprinted"), printed.error());
}

QMenu *PrintCommands::menu()
{
    if (!menu_) {
        menu_ = new QMenu(window_);
        menu_->setObjectName(QStringLiteral("printmenu"));
        const std::pair<const char *, void (PrintCommands::*)()> items[] = {
            {"mnprint", &PrintCommands::printDialog},
            {"mnpdf", &PrintCommands::pdf},
            {"mnworksheets", nullptr},
            {"mnstats", nullptr}};
        for (const auto &[name, handler] : items) {
            const bool stats = std::string_view(name) == "mnstats";
            QAction *action =
                handler ? menu_->addAction(QString(), this, handler)
                        : menu_->addAction(QString(), stats ? hooks_.stats : hooks_.worksheets);
            action->setObjectName(QString::fromLatin1(name));
        }
    }
    // The game's pages need a game; a class set does not.
    const bool playing = game_.inplay();
    for (QAction *action : menu_->actions()) {
        action->setText(texts_.uitext(action->objectName() + QStringLiteral(".caption")));
        action->setEnabled(playing || action->objectName() == QLatin1String("mnworksheets") ||
                           action->objectName() == QLatin1String("mnstats"));
    }
    return menu_;
}

void PrintCommands::showMenu(const QPoint &globalPos)
{
    menu()->popup(globalPos);
}

void PrintCommands::printDialog()
{
    if (!game_.inplay())
        return;
    const QList<QWidget *> pages = filledpages();
    if (pages.isEmpty() || !printer_)
        return;
    // A cancelled dialog is the user's choice, not a failure to report.
    if (const Result<PrintOutcome> printed = printer_->choosePrinterAndPrint(pages); !printed)
        failed(QStringLiteral("msgnotprinted"), printed.error());
}

void PrintCommands::pdf()
{
    if (!game_.inplay())
        return;
    const QString title = game_.model().curwords().title;
    const QString file = askPdfFile(prompter_, QDir::homePath(), title, applicationTitle(), texts_);
    if (file.isEmpty())
        return;
    const QList<QWidget *> pages = filledpages();
    if (pages.isEmpty())
        return;
    if (const Status written = writePdf(file, title, pages); !written)
        failed(QStringLiteral("msgpdfnotwritten"), written.error());
    else
        pdfsaved(file);
}

void PrintCommands::pdfsaved(const QString &file)
{
    hooks_.say(texts_.uitext(QStringLiteral("msgpdfsaved"))
                   .arg(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())));
}

QToolButton *PrintCommands::makeMoreButton(QWidget *parent, const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("tbmore"));
    button->setGeometry(geometry);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setText(QStringLiteral("More Commands"));
    auto *more = new QMenu(button);
    more->setObjectName(QStringLiteral("moremenu"));
    button->setMenu(more);
    connect(more, &QMenu::aboutToShow, this, [this, more] { fillmoremenu(more); });
    return button;
}

void PrintCommands::fillmoremenu(QMenu *more)
{
    hooks_.pages();        // the Word List dialog's commands come with the other windows
    QMenu *print = menu(); // its texts and enabled states as they are now
    if (more->isEmpty()) {
        more->addActions(print->actions());
        more->addSeparator();
        for (QAction *command : listCommands_) {
            if (!command)
                continue;
            QAction *item = more->addAction(QString(), command, &QAction::trigger);
            item->setObjectName(QStringLiteral("more") + command->objectName());
            item->setData(command->objectName());
        }
    }
    for (QAction *item : more->actions())
        if (const QString name = item->data().toString(); !name.isEmpty())
            item->setText(texts_.uitext(QStringLiteral("frmwordlist.%1.caption").arg(name)));
}
