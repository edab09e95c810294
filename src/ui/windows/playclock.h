#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class GameSession;
class StatusLine;
class QWidget;
struct SettingsState;

// The time played, at the right of the status bar: a second a second while the game is
// unsolved and the window is neither minimised nor behind a dialog of its own.
class PlayClock : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(PlayClock)

public:
    PlayClock(QWidget *window, GameSession &game, StatusLine &line, const SettingsState &settings);

    // One second of play, when it counts.
    void tick();
    // The time as it stands, or none when the Options hide it or no game is in play.
    void show();
    // "0:07", "12:34", "1:02:03".
    static QString format(qint64 seconds);

private:
    QWidget *window_;
    GameSession &game_;
    StatusLine &line_;
    const SettingsState &settings_;
    QTimer timer_;
};
