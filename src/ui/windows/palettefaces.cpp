#include "windows/palettefaces.h"

#include "board/tntspeedbutton.h"
#include "board/wordpalette.h"
#include "game/gamesession.h"
#include "windows/programstate.h"

#include <algorithm>

PaletteFaces::PaletteFaces(QObject *parent, WordPalette &palette, const GameSession &game,
                           ProgramState &state, Hooks hooks)
    : QObject(parent), palette_(palette), game_(game), state_(state), hooks_(std::move(hooks))
{
}

void PaletteFaces::show()
{
    palette_.showwords(game_.model().curwords().words, WordFace(state_.settings.paletteshows));
}

void PaletteFaces::count()
{
    std::array<int, 9> remaining;
    remaining.fill(game_.inplay() ? 9 : -1);
    const GameModel &model = game_.model();
    if (game_.inplay())
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (const int k = model.value(i, j); model.filled(i, j) && k >= 1 && k <= 9)
                    remaining[k - 1] = std::max(0, remaining[k - 1] - 1);
    palette_.showRemaining(remaining);
}

void PaletteFaces::cycle()
{
    const auto now = WordFace(state_.settings.paletteshows);
    const WordFace next = nextFace(game_.model().curwords().words, now);
    static const char *const keys[] = {"msgpalettewords", "msgpalettemeanings",
                                       "msgpalettereadings"};
    state_.settings.paletteshows = int(next);
    show();
    hooks_.sayKey(QString::fromLatin1(next == now ? "msgnomeanings" : keys[int(next)]), {});
}

void PaletteFaces::picked(int k)
{
    if (k >= 1 && k <= WordSet::kWords)
        pointed(palette_.button(k));
}

void PaletteFaces::pointed(const QWidget *button)
{
    // The tooltip is the word's reading and meaning; a plain word says nothing more.
    if (const QString line = button->toolTip(); !line.isEmpty())
        hooks_.say(line);
}

void PaletteFaces::placed(QPoint at)
{
    const GameModel &model = game_.model();
    const int k = model.value(at.x(), at.y());
    if (state_.settings.paletteshows != int(WordFace::Text) && model.filled(at.x(), at.y()) &&
        k >= 1 && k <= WordSet::kWords)
        hooks_.sayKey(QStringLiteral("msgplaced"), model.curwords().text(k).trimmed());
}
