#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class GameSession;
class PagePrinter;
class Prompter;
class QMenu;
class QAction;
class QPoint;
class QRect;
class QToolButton;
class QWidget;
class TextTables;
class Tprintform;
class Tprintform2;

// The main window's print commands: Print, the print menu (Print..., Save as PDF...,
// Worksheets...) and what they say. The pages are filled from the game in play each time.
class PrintCommands : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(PrintCommands)

public:
    // The two pages; null until the windows are made.
    struct Pages {
        Tprintform *puzzle = nullptr;
        Tprintform2 *solution = nullptr;
    };
    struct Hooks {
        std::function<Pages()> pages;
        std::function<void()> worksheets;         // opens the Worksheets dialog
        std::function<void(const QString &)> say; // a line in the status bar
        std::function<void()> stats;              // opens the Statistics window
    };

    PrintCommands(QWidget *window, const GameSession &game, Prompter &prompter,
                  const TextTables &texts, Hooks hooks);

    // Where Print sends its pages; without one Print does nothing.
    void setPagePrinter(PagePrinter *printer) { printer_ = printer; }

    // Fills the puzzle page and the solution page from the game in play and prints them.
    void print();
    // Made when first asked for, relabelled and enabled for the game in play each time.
    QMenu *menu();
    void showMenu(const QPoint &globalPos);
    void printDialog();
    // Writes the two pages to a PDF file the user names, by default after the game's title.
    void pdf();
    // Says in the status bar where a PDF was saved.
    void pdfsaved(const QString &file);

    // A menu button with the print menu's commands and the Word List dialog's Import Lists and
    // Export Lists, which otherwise only a right-click or a key reaches.
    QToolButton *makeMoreButton(QWidget *parent, const QRect &geometry);
    // The Word List dialog's commands that the menu button offers; set with the other windows.
    void setListCommands(QAction *importer, QAction *exporter)
    {
        listCommands_ = {importer, exporter};
    }

private:
    QList<QWidget *> filledpages();
    void failed(const QString &key, const QString &reason);
    // The menu button's menu, made and relabelled as it opens.
    void fillmoremenu(QMenu *menu);

    QWidget *window_;
    const GameSession &game_;
    Prompter &prompter_;
    const TextTables &texts_;
    Hooks hooks_;
    PagePrinter *printer_ = nullptr;
    QMenu *menu_ = nullptr;
    std::array<QAction *, 2> listCommands_{};
};
