#pragma once

#include "text/result.h"
#include "widgets/statusline.h"
#include "windows/gamefiles.h"
#include "windows/hintexplainer.h"
#include "windows/palettefaces.h"
#include "windows/printcommands.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class GameSession;
class HintExplainer;
class PagePrinter;
class PlayHistory;
class PlayClock;
class PrintCommands;
class Prompter;
class QAction;
class LanguageContext;
class ModalCloseGuard;
class QDialog;
class QLabel;
class RuleText;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolButton;
class Settings;
struct SavedGame;
struct WordSet;
class TTntcell;
class Tfrmda;
class Tprintform;
class Tprintform2;
class TranslationEditor;
class Ttntstdsudoku;
class WordPalette;
struct ProgramState;

// The window in which the game is played: the board on the left; Start New Game, the palette,
// the toolbar, the rules and About, Option and Close on the right; a status bar under the board.
class TaaForm1 : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(TaaForm1)

public:
    // The windows it shows; they are created after it.
    struct Windows {
        QDialog *frmnewgame = nullptr;
        Tfrmda *frmda = nullptr;
        QDialog *frmoption = nullptr;
        QDialog *frmabout = nullptr;
        Tprintform *printform = nullptr;
        Tprintform2 *printform2 = nullptr;
        QDialog *frmworksheets = nullptr;
        QDialog *frmstats = nullptr;
    };

    TaaForm1(ProgramState &state, GameSession &game, Prompter &prompter, Settings &settings,
             QWidget *parent = nullptr);
    // Writes the settings: the one moment they are saved.
    ~TaaForm1() override;

    void setWindows(const Windows &windows) { windows_ = windows; }
    // Makes the other windows when a command first needs one, should that come before the
    // program has made them after the first paint.
    void setWindowMaker(std::function<void()> maker) { maker_ = std::move(maker); }
    // Where Print sends its pages; without one Print does nothing.
    void setPagePrinter(PagePrinter *printer) { print_->setPagePrinter(printer); }

    ProgramState &state() { return state_; }
    // The game in play: its model, rules, history and kept file.
    GameSession &game() { return game_; }
    Ttntstdsudoku *board() const { return board_; }
    WordPalette *wordPalette() const { return palette_; }
    QStatusBar *statusBar() const { return sb1_; }
    QString statusText() const;
    // The F12 page; made the first time it is asked for.
    TranslationEditor *translationEditor();

    // Deals a game of the level with these words and sets the window up for play. Returns
    // false when the bank has no line for the level or the player keeps the game in play
    // (mayreplace); nothing changes then.
    bool newgame(int level, const WordSet &words);
    // Board and game commands enabled; the caption names the level.
    void enterplay();

    void applylanguage();
    // The text tables and settings the dialogs share, and the language switch they all follow.
    LanguageContext &language() const { return *language_; }
    void showstatus(const QString &text);
    // The status text said again from its key in the language in force; arg fills its %1.
    void showstatuskey(const QString &key, const QString &arg = {});
    // The palette's captions: the words, or their meanings or readings as the Options and
    // Ctrl+M say.
    void showwords() { faces_->show(); }
    void but1Click(int k);
    // Ctrl+M: words, meanings, readings, words.
    void cyclepalette() { faces_->cycle(); }

    void tbsaveClick() { files_->save(); }
    void tbopenClick() { files_->open(); }
    // Makes a saved game the game in play.
    void loadgame(const SavedGame &game) { files_->load(game); }

    // Print, and the print menu: Print... (the print dialog), Save as PDF... and Worksheets...;
    // on a right-click of the Print button and on Ctrl+Shift+P.
    PrintCommands &printCommands() { return *print_; }
    void tbprintClick() { print_->print(); }
    QMenu *printMenu() { return print_->menu(); }
    void printDialogClick() { print_->printDialog(); }
    void pdfClick() { print_->pdf(); }
    void pdfsaved(const QString &file) { print_->pdfsaved(file); }
    void worksheetsClick();
    // The Statistics window: Ctrl+T and the print menu.
    void statsClick() { showModal(&Windows::frmstats); }
    // The menu button under the toolbar: the print menu's and the Word List dialog's commands.
    QToolButton *moreButton() const { return tbmore_; }
    void setListCommands(QAction *importer, QAction *exporter)
    {
        print_->setListCommands(importer, exporter);
    }
    void tbcheckerrorClick();
    // Hint, and its reason in the status bar.
    void tbshowhintClick() { explainer_->hint(); }
    // Ctrl+Shift+H: the next step explained and its cells marked; nothing placed.
    void explainnext() { explainer_->explainNext(); }
    void tbrestartClick();
    void tbshowsolutionClick();
    void btstartnewgameClick();
    void btcloseClick();
    void keydown(int key);

    // Keyboard play, by the rules of the left and right clicks: the selected word into the
    // cursor's cell, or that cell cleared. A given cell is left alone, as it is to the pointer.
    void cursorplace();
    void cursorclear();
    // Ctrl+Z and Ctrl+Y: false when there was nothing to undo or redo.
    bool undo();
    bool redo();
    // A game is dealt or loaded: from then on the board and the game commands stay enabled.
    bool inplay() const;
    // Start-up: the kept game resumed; and the question before a game in play is replaced.
    void resumegame() { files_->resume(); }
    bool mayreplace() { return files_->mayreplace(); }
    // The session ends (a signal from the desktop): the open dialogs are closed as their close
    // boxes would, then this window, with no question; the game is kept as on any closing.
    void endsession();

signals:
    void firstPainted();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildLayout();
    // Icons of the desktop's theme where one fits, in place of our own pictures.
    void applythemeicons();
    void wireBoard();
    void cellmousedown(TTntcell *cell, Qt::MouseButton button);
    void cellmouseenter(TTntcell *cell);
    void cellmouseleave(TTntcell *cell);
    // After a game is dealt or loaded: the commands enabled, the selected word pressed, the
    // keyboard's cell at column 1, row 1.
    void startplay();
    // The words a screen reader hears, in the current language.
    void speaklanguage();
    void showModal(QDialog *TaaForm1::Windows::*which);
    const Windows &windows();

    ProgramState &state_;
    GameSession &game_;
    Prompter &prompter_;
    Settings &settings_;
    Windows windows_;
    std::function<void()> maker_;
    PrintCommands *print_ = nullptr;
    GameFiles *files_ = nullptr;
    PaletteFaces *faces_ = nullptr;
    PlayClock *clock_ = nullptr;
    bool painted_ = false;
    ModalCloseGuard *modalGuard_ = nullptr;
    LanguageContext *language_ = nullptr;
    HintExplainer *explainer_ = nullptr;

    QWidget *panel1_ = nullptr;
    QWidget *panel2_ = nullptr;
    QWidget *panel4_ = nullptr;
    Ttntstdsudoku *board_ = nullptr;
    StatusLine *sb1_ = nullptr;
    bool ending_ = false;
    QPushButton *btstartnewgame_ = nullptr;
    WordPalette *palette_ = nullptr;
    std::array<QToolButton *, 7> toolbar_{};
    RuleText *mmsudokurule_ = nullptr;
    TranslationEditor *editor_ = nullptr;
    QMenu *printMenu_ = nullptr;
    QToolButton *tbmore_ = nullptr;
};
