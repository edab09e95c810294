#pragma once

#include "engine/wordset.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QStringList>
#include <QWidget>

class QPainter;

// What a learner reads beside a puzzle: each word with its reading and meaning, as
// "苹果 · píngguǒ · apple", in rows of up to three columns. The text shrinks and wraps to
// fit the room it is given; it is never cut.
class WordBank : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(WordBank)

public:
    // The sizes of the bank's text in page pixels: the largest it starts at, and the smallest
    // it shrinks to before it takes more room than it was given.
    static constexpr int kLargest = 40;
    static constexpr int kSmallest = 20;

    explicit WordBank(QWidget *parent = nullptr);

    // One line a word: the word, then " · reading" and " · meaning" where it has them. Empty
    // when no word has a reading or a meaning: then a page carries no bank.
    static QStringList entries(const WordSet &words);

    // Lays the entries out across width, no taller than room when that can be done at
    // kSmallest or more, and takes the size that needs. False when it needed more than room.
    bool arrange(const QStringList &entries, int width, int room);

    // Draws the lines at the bank's own coordinates.
    void paintOn(QPainter &painter) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Line {
        QRectF rect;
        QString text;
        QFont font;
    };

    QList<Line> lines_;
};
