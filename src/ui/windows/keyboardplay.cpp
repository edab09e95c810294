#include "windows/keyboardplay.h"

#include "board/tntspeedbutton.h"
#include "board/tntstdsudoku.h"
#include "board/wordpalette.h"
#include "game/gamesession.h"
#include "widgets/keypreview.h"
#include "windows/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>

KeyboardPlay::KeyboardPlay(TaaForm1 *window)
    : QObject(window), window_(window),
      boardPanel_(window->findChild<QWidget *>(QStringLiteral("Panel1"))),
      rightPanel_(window->findChild<QWidget *>(QStringLiteral("Panel2")))
{
    // Through the buttons, so that a command not yet available does nothing here either.
    addShortcut(Qt::CTRL | Qt::Key_N, "btstartnewgame");
    addShortcut(Qt::CTRL | Qt::Key_O, "tbopen");
    addShortcut(Qt::CTRL | Qt::Key_S, "tbsave");
    addShortcut(Qt::CTRL | Qt::Key_P, "tbprint");
    addShortcut(Qt::CTRL | Qt::Key_H, "tbshowhint");
    addShortcut(Qt::CTRL | Qt::Key_E, "tbcheckerror");
    auto *candidates = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), window);
    connect(candidates, &QShortcut::activated, window, [window] { window->game().fillNotes(); });
    auto *stats = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), window);
    connect(stats, &QShortcut::activated, window, &TaaForm1::statsClick);
    auto *faces = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), window);
    connect(faces, &QShortcut::activated, window, &TaaForm1::cyclepalette);
    auto *explain = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H), window);
    connect(explain, &QShortcut::activated, window, &TaaForm1::explainnext);
    auto *undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), window);
    connect(undo, &QShortcut::activated, window, &TaaForm1::undo);
    for (QKeyCombination keys : {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
        auto *redo = new QShortcut(QKeySequence(keys), window);
        connect(redo, &QShortcut::activated, window, &TaaForm1::redo);
    }
    qApp->installEventFilter(this);
}

KeyboardPlay::~KeyboardPlay()
{
    qApp->removeEventFilter(this);
}

void KeyboardPlay::addShortcut(QKeyCombination keys, const char *button)
{
    auto *target = window_->findChild<QAbstractButton *>(QString::fromLatin1(button));
    if (!target)
        return;
    auto *shortcut = new QShortcut(QKeySequence(keys), window_);
    connect(shortcut, &QShortcut::activated, target, &QAbstractButton::click);
}

bool KeyboardPlay::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *first = firstKeyDelivery(watched, event, window_);
    if (!first)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    Ttntstdsudoku *board = window_->board();
    const bool onBoard = first == window_ || first == board;
    // The play keys belong to the board and the column beside it, not to the table editor.
    const bool onPlay = onBoard || (boardPanel_ && boardPanel_->isAncestorOf(first)) ||
                        (rightPanel_ && rightPanel_->isAncestorOf(first));
    return onPlay && playkey(key->key(), onBoard);
}

void KeyboardPlay::togglenotes()
{
    notes_ = !notes_;
    window_->showstatuskey(QString::fromLatin1(notes_ ? "msgnoteson" : "msgnotesoff"));
}

bool KeyboardPlay::playkey(int key, bool onBoard)
{
    Ttntstdsudoku *board = window_->board();
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        if (const QPoint at = board->cursorCell(); notes_ && window_->inplay() && !at.isNull())
            window_->game().toggleNote(at.x(), at.y(), key - Qt::Key_0);
        else
            window_->wordPalette()->button(key - Qt::Key_0)->click();
        return true;
    }
    if (!window_->inplay())
        return false;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        board->moveCursor(key == Qt::Key_Left    ? -1
                          : key == Qt::Key_Right ? 1
                                                 : 0,
                          key == Qt::Key_Up     ? -1
                          : key == Qt::Key_Down ? 1
                                                : 0);
        board->setFocus();
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A focused button keeps Space and Enter for itself.
        if (!onBoard)
            return false;
        window_->cursorplace();
        return true;
    case Qt::Key_N:
        togglenotes();
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (!onBoard)
            return false;
        window_->cursorclear();
        return true;
    default:
        return false;
    }
}
