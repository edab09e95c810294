#include "windows/gamefiles.h"

#include "engine/prompter.h"
#include "game/gamesession.h"
#include "storage/autosave.h"
#include "storage/folders.h"
#include "storage/savedgame.h"
#include "text/textfile.h"
#include "widgets/savefile.h"
#include "windows/programstate.h"

#include <QDir>
#include <QFileInfo>

GameFiles::GameFiles(QObject *parent, GameSession &game, Prompter &prompter, ProgramState &state,
                     Hooks hooks)
    : QObject(parent), game_(game), prompter_(prompter), state_(state), hooks_(std::move(hooks))
{
}

QString GameFiles::failure(const QString &key, const QString &file, const QString &reason) const
{
    return state_.texts.uitext(key).arg(QDir::toNativeSeparators(file)) + QLatin1Char('\n') +
           reason;
}

void GameFiles::save()
{
    const QString file = askSaveFile(prompter_, savesfolder(), savedGameFilter(),
                                     QLatin1String(kSavedGameSuffix), state_.texts);
    if (file.isEmpty())
        return;
    if (const Status written = writewholefile(file, game_.saved().toBytes()); !written)
        prompter_.inform(failure(QStringLiteral("msgnotsaved"), file, written.error()));
}

void GameFiles::open()
{
    const QString file = prompter_.openFileName(savesfolder(), savedGameFilter());
    if (file.isEmpty())
        return;
    const SavedGameRead<SavedGame> read = readSavedGame(file);
    if (!read) {
        prompter_.inform(
            failure(QStringLiteral("msgnotopened"), file, read.error().message(state_.texts)));
        return;
    }
    if (mayreplace())
        load(*read);
}

void GameFiles::load(const SavedGame &saved, const KeptPlay &play)
{
    // A saved game holds texts only; the glossary has what the player keeps of its words.
    SavedGame game = saved;
    game.words = state_.glossed(game.words);
    game_.load(game, play);
    hooks_.started();
}

void GameFiles::resume()
{
    const QString file = autosavefile();
    if (!state_.settings.resumegame || !QFileInfo::exists(file))
        return;
    if (const SavedGameRead<SavedGame> read = readSavedGame(file)) {
        load(*read, readplay(file, *read));
        hooks_.sayKey(QStringLiteral("msgresumed"), {});
    } else if (putaside(file)) {
        hooks_.sayKey(QStringLiteral("msgkeptdamaged"), QFileInfo(damagedcopy(file)).fileName());
    } else {
        hooks_.sayKey(QStringLiteral("msgkeptunreadable"), read.error().message(state_.texts));
    }
}

bool GameFiles::mayreplace()
{
    if (!state_.settings.askreplace || !game_.inplay() || game_.rules().issolved() ||
        !game_.model().played())
        return true;
    const Prompter::CheckedAnswer answer =
        prompter_.confirmChecked(state_.texts.uitext(QStringLiteral("msgreplacegame")),
                                 state_.texts.uitext(QStringLiteral("msgdontaskagain")));
    // Not asking again after a No would leave no way to start another game.
    if (answer.yes && answer.checked)
        state_.settings.askreplace = false;
    return answer.yes;
}

void GameFiles::keepAtClose(bool ending)
{
    const Status kept = game_.keep();
    // A solved game has nothing to keep, and a session that ends has no time for a question.
    if (!kept && !ending && !game_.rules().issolved() &&
        prompter_.confirm(
            state_.texts.uitext(QStringLiteral("msgautosavefailed")).arg(kept.error()) +
            QLatin1Char('\n') + state_.texts.uitext(QStringLiteral("msgsaveelsewhere"))))
        save();
}
