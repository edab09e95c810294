#include "windows/speechcommands.h"

#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "widgets/components.h"
#include "windows/mainwindow.h"
#include "windows/programstate.h"

#include <QMouseEvent>
#include <QShortcut>

SpeechStatus ComponentSpeaker::say(const QString &text, const QString &language, double rate)
{
    if (!tried_) {
        tried_ = true;
        if (auto *factory = loadcomponent<SpeakerFactory>(QString::fromLatin1(kSpeechComponent)))
            speaker_ = factory->newSpeaker();
    }
    return speaker_ ? speaker_->say(text, language, rate) : SpeechStatus::NoComponent;
}

SpeechCommands::SpeechCommands(TaaForm1 *window, GameSession &game, ProgramState &state,
                               Prompter &prompter)
    : QObject(window), window_(window),
      pronouncer_(new Pronouncer(game, component_, state.texts, state.settings, prompter, this))
{
    auto *speak = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), window);
    connect(speak, &QShortcut::activated, this, &SpeechCommands::speakAtCursor);
}

void SpeechCommands::setSpeaker(Speaker &speaker)
{
    pronouncer_->setSpeaker(speaker);
}

void SpeechCommands::speakAtCursor()
{
    const QPoint at = window_->board()->cursorCell();
    pronouncer_->speakAt(at.x(), at.y());
}

void SpeechCommands::listen(Ttntstdsudoku *solutionBoard)
{
    solution_ = solutionBoard;
    // Given cells are disabled and pass their clicks to the board; the others take them.
    solutionBoard->installEventFilter(this);
    for (int i = 1; i <= 9; ++i)
        for (int j = 1; j <= 9; ++j)
            solutionBoard->cell(i, j)->installEventFilter(this);
}

bool SpeechCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && solution_) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *cell = qobject_cast<TTntcell *>(watched);
        if (!cell && watched == solution_)
            cell = qobject_cast<TTntcell *>(solution_->childAt(mouse->position().toPoint()));
        if (cell && mouse->button() == Qt::LeftButton) {
            pronouncer_->speakWord(cell->value());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
