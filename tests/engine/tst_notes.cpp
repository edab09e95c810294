#include "engine/playhistory.h"
#include "engine/rules.h"
#include "i18n/texttable.h"
#include "modelgame.h"
#include "sandbox.h"
#include "scriptedprompter.h"
#include "storage/autosave.h"
#include "storage/savedgame.h"

#include <QTemporaryDir>
#include <QtTest>

// Notes on cells: toggled, filled with the candidates, cleaned up by a placement, undone.
class TestNotes : public QObject {
    Q_OBJECT

    ModelGame game;
    GameModel &model = game.model;
    TextTables texts;
    ScriptedPrompter prompter;
    PlayHistory history;
    GameRules rules{model, texts, prompter};

    static quint16 bit(int k) { return quint16(1u << (k - 1)); }
    // The words shown in the cells that see (i, j), as a set of bits.
    quint16 seen(int i, int j)
    {
        quint16 bits = 0;
        for (int a = 1; a <= 9; ++a)
            for (int b = 1; b <= 9; ++b)
                if ((a != i || b != j) && GameModel::sees(a, b, i, j) && model.filled(a, b))
                    bits |= bit(model.value(a, b));
        return bits;
    }

private slots:
    void init()
    {
        game.deal(ModelGame::englishWords(), kHardLine1);
        history.clear();
        rules.setHistory(&history);
        rules.setNoteCleanup(true);
        prompter.clear();
    }

    void togglingIsOneStepEach()
    {
        const QPoint at = game.openCell();
        rules.toggleNote(at.x(), at.y(), 1, 1);
        rules.toggleNote(at.x(), at.y(), 2, 1);
        QCOMPARE(game.at(at).notes, quint16(bit(1) | bit(2)));
        rules.toggleNote(at.x(), at.y(), 1, 1);
        QCOMPARE(game.at(at).notes, bit(2));
        QCOMPARE(int(history.size()), 3);
        QVERIFY(rules.undo(1));
        QCOMPARE(game.at(at).notes, quint16(bit(1) | bit(2)));
        QVERIFY(rules.redo(1));
        QCOMPARE(game.at(at).notes, bit(2));
        // No note in a filled or given cell, none outside 1..9.
        rules.place(at.x(), at.y(), 5);
        rules.toggleNote(at.x(), at.y(), 3, 5);
        QCOMPARE(game.at(at).notes, bit(2)); // kept under the word, shown when it goes
        rules.toggleNote(at.x(), at.y(), 10, 5);
        QPoint given;
        for (int p = 0; p < 81 && given.isNull(); ++p)
            if (model.cells()[p].given)
                given = {p / 9 + 1, p % 9 + 1};
        QVERIFY(!model.setNotes(given.x(), given.y(), bit(1)));
    }

    // Every empty cell gets exactly the words none of its row, column and box shows; one step.
    void candidatesFillEveryEmptyCell()
    {
        const QPoint placed = game.openCell(3);
        rules.place(placed.x(), placed.y(), game.wrong(placed));
        const std::size_t steps = history.size();
        rules.fillNotes(1);
        QCOMPARE(history.size(), steps + 1);
        int empty = 0;
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                if (model.filled(i, j))
                    continue;
                ++empty;
                QCOMPARE(model.cell(i, j).notes, quint16(~seen(i, j) & 0x1FF));
                QVERIFY(model.cell(i, j).hasNote(model.cell(i, j).solution) ||
                        (seen(i, j) & bit(model.cell(i, j).solution)));
            }
        QCOMPARE(empty, 81 - model.puzzle().givenCount() - 1);
        QCOMPARE(game.at(placed).notes, quint16(0)); // a filled cell gets none
        QVERIFY(rules.undo(1));
        for (const GameCell &c : model.cells())
            QCOMPARE(c.notes, quint16(0));
    }

    // A placed word leaves the notes of every cell that sees it, in the same step; the others
    // keep theirs. Off, nothing is cleaned up.
    void placingCleansUpWhatItSees()
    {
        rules.fillNotes(1);
        const QPoint at = game.openCell();
        const int w = game.solution(at);
        const auto before = model.cells();
        const std::size_t steps = history.size();
        rules.place(at.x(), at.y(), w);
        QCOMPARE(history.size(), steps + 1);
        int cleaned = 0;
        for (int a = 1; a <= 9; ++a)
            for (int b = 1; b <= 9; ++b) {
                const quint16 was = before[GameModel::index(a, b)].notes;
                const quint16 now = model.cell(a, b).notes;
                if (QPoint(a, b) == at)
                    QCOMPARE(now, was);
                else if (GameModel::sees(a, b, at.x(), at.y()))
                    QCOMPARE(now, quint16(was & ~bit(w)));
                else
                    QCOMPARE(now, was);
                cleaned += now != was ? 1 : 0;
            }
        QVERIFY(cleaned > 0);
        QVERIFY(rules.undo(w));
        for (int p = 0; p < 81; ++p)
            QCOMPARE(model.cells()[p].notes, before[p].notes);

        rules.setNoteCleanup(false);
        rules.place(at.x(), at.y(), w);
        for (int p = 0; p < 81; ++p)
            QCOMPARE(model.cells()[p].notes, before[p].notes);
    }

    void restartTakesTheNotes()
    {
        rules.fillNotes(1);
        prompter.answers.enqueue(true);
        QVERIFY(rules.tbrestartClick());
        for (const GameCell &c : model.cells())
            QCOMPARE(c.notes, quint16(0));
    }

    // The kept game's notes and time lie beside it and come back only with the same game.
    void notesAreKeptBesideTheGame()
    {
        QTemporaryDir dir;
        const QString kept = dir.filePath(QStringLiteral("autosave.wrd"));
        SavedGame saved;
        for (int p = 0; p < 81; ++p) {
            saved.solution[p] = model.cells()[p].solution;
            saved.given[p] = model.cells()[p].given;
        }
        KeptPlay play;
        const int open = GameModel::index(game.openCell().x(), game.openCell().y());
        play.notes[open] = bit(1) | bit(9);
        play.seconds = 754;
        QVERIFY(keepplay(kept, saved, play, false));
        QCOMPARE(readplay(kept, saved), play);
        SavedGame other = saved;
        std::swap(other.solution[0], other.solution[1]);
        QVERIFY(readplay(kept, other).isEmpty());
        // Time alone is kept too; nothing to keep, or a solved game, leave no file.
        QVERIFY(keepplay(kept, saved, KeptPlay{{}, 3}, false));
        QCOMPARE(readplay(kept, saved).seconds, 3);
        QVERIFY(keepplay(kept, saved, {}, false));
        QVERIFY(!QFile::exists(playfile(kept)));
        QVERIFY(keepplay(kept, saved, play, false));
        QVERIFY(keepplay(kept, saved, play, true));
        QVERIFY(!QFile::exists(playfile(kept)));
    }
};

VASKELIO_TEST_MAIN(TestNotes)
#include "tst_notes.moc"
