#include "windows/playclock.h"

#include "game/gamesession.h"
#include "storage/settings.h"
#include "widgets/statusline.h"

#include <QApplication>
#include <QWidget>

PlayClock::PlayClock(QWidget *window, GameSession &game, StatusLine &line,
                     const SettingsState &settings)
    : QObject(window), window_(window), game_(game), line_(line), settings_(settings)
{
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &PlayClock::tick);
    timer_.start();
}

void PlayClock::tick()
{
    // A question or any dialog stops the clock, as a minimised window does.
    if (window_->isMinimized() || QApplication::activeModalWidget())
        return;
    game_.tick();
    show();
}

void PlayClock::show()
{
    line_.setTime(settings_.showtime && game_.inplay() ? format(game_.seconds()) : QString());
}

QString PlayClock::format(qint64 seconds)
{
    const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    const QString rest = QStringLiteral("%1:%2")
                             .arg(m, h > 0 ? 2 : 1, 10, QLatin1Char('0'))
                             .arg(s, 2, 10, QLatin1Char('0'));
    return h > 0 ? QStringLiteral("%1:").arg(h) + rest : rest;
}
