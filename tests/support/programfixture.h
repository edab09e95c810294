#pragma once

#include "board/tntcell.h"
#include "board/tntstdsudoku.h"
#include "engine/qj.h"
#include "game/gamesession.h"
#include "scriptedprompter.h"
#include "storage/folders.h"
#include "storage/settings.h"
#include "widgets/components.h"
#include "windows/program.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

// The whole program with scripted message boxes, on settings in a temporary file. The sharing
// service is looked for at shareBase; by default on a local port where nothing listens, so that
// no test reaches beyond this machine. The components (printing, network) are loaded from the
// build tree.
struct ProgramFixture {
    explicit ProgramFixture(const QString &settingsFile,
                            const QString &shareBase = QStringLiteral("http://127.0.0.1:9"))
        : settings(SettingsLocation::file(settingsFile)),
          program((Program::prepareApplication(),
                   setcomponentfolders({QStringLiteral(VASKELIO_COMPONENT_DIR)}),
                   std::make_unique<Program>(prompter, settings, shareBase)))
    {
    }

    TaaForm1 &main() { return program->mainWindow(); }
    ProgramState &state() { return program->state(); }
    // The game in play: moves go through game(), what they did is read from model().
    GameSession &game() { return program->game(); }
    const GameModel &model() { return program->game().model(); }
    // The user's glossary alone, without the readings and meanings the program ships: for the
    // cases about layouts and dialogs, which must not change with the shipped data.
    void withoutShippedMeanings()
    {
        state().glossary = Glossary::read(state().glossary.file(), QString());
    }

    ScriptedPrompter prompter;
    Settings settings;
    std::unique_ptr<Program> program;
};

// Runs check on the next modal window to open, then closes it.
inline void whenModalOpens(std::function<void(QWidget *)> check)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            check(modal);
            modal->close();
        }
    });
    timer->start();
}

inline const QStringList &testWords()
{
    static const QStringList words{
        QStringLiteral("一"),        QStringLiteral("二"),   QStringLiteral("three"),
        QStringLiteral("ice cream"), QStringLiteral("cinq"), QStringLiteral("ろく"),
        QStringLiteral("seven"),     QStringLiteral("八"),   QStringLiteral("vegetables")};
    return words;
}
