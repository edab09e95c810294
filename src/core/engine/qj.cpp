#include "engine/qj.h"

#include "engine/bankline.h"
#include "engine/random.h"

#include <QCoreApplication>

#include <utility>

namespace {
constexpr int kMoves = 200;
} // namespace

QString ConversionError::message() const
{
    if (found.isEmpty())
        return QCoreApplication::translate("TQJ", "The puzzle text ends before position %1.")
            .arg(position);
    return QCoreApplication::translate("TQJ", "'%1' at position %2 is not a puzzle character.")
        .arg(found)
        .arg(position);
}

PuzzleRead checkPuzzleString(const QString &text)
{
    for (int p = 0; p < bankline::kCells; ++p) {
        if (p >= text.size())
            return failure(ConversionError{p + 1, {}});
        const QChar c = text.at(p);
        if (!bankline::cellOf(c))
            return failure(ConversionError{p + 1, QString(c)});
    }
    return {};
}

TQJ::TQJ(RandomSource &random) : random_(&random) {}

TQJ::TQJ() : TQJ(RandomSource::process()) {}

PuzzleRead TQJ::parsebank(const QString &text)
{
    if (PuzzleRead checked = checkPuzzleString(text); !checked)
        return checked;
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            TNode &n = node(i, j);
            // Checked above: every character is a cell.
            const auto cell = bankline::cellOf(text.at(9 * (i - 1) + (j - 1)));
            n.column = i;
            n.row = j;
            n.given = cell->given;
            n.value = cell->value;
        }
    }
    shuffle(kMoves);
    return {};
}

void TQJ::shuffle(int n)
{
    random_->reseed();
    for (int move = 0; move < n; ++move) {
        // All three draws are made in every move, whatever its kind.
        const int kind = random_->draw(7);
        int a = random_->draw(3);
        int b = random_->draw(2);
        if (a == 1)
            b += 1;
        else if (a == 2 && b == 2)
            b = 3;

        if (kind <= 3) {
            a += 3 * (kind - 1);
            b += 3 * (kind - 1);
            for (int i = 1; i <= 9; ++i) {
                std::swap(node(i, a).value, node(i, b).value);
                std::swap(node(i, a).given, node(i, b).given);
            }
        } else if (kind <= 6) {
            a += 3 * (kind - 4);
            b += 3 * (kind - 4);
            for (int j = 1; j <= 9; ++j) {
                std::swap(node(a, j).value, node(b, j).value);
                std::swap(node(a, j).given, node(b, j).given);
            }
        } else {
            const int p = random_->draw(9);
            int q = random_->draw(9);
            if (q == p)
                q = p == 9 ? 1 : p + 1;
            for (auto &column : nodes_) {
                for (TNode &node : column) {
                    if (node.value == p)
                        node.value = q;
                    else if (node.value == q)
                        node.value = p;
                }
            }
        }
    }
}

int TQJ::givenCount() const
{
    int count = 0;
    for (const auto &column : nodes_)
        for (const TNode &node : column)
            count += node.given ? 1 : 0;
    return count;
}

QString TQJ::toPuzzleString() const
{
    QString text;
    text.reserve(bankline::kCells);
    for (const auto &column : nodes_) {
        for (const TNode &node : column) {
            const int v = node.value;
            if (v < 1 || v > 9)
                text += QLatin1Char('?');
            else
                text += QLatin1Char(static_cast<char>((node.given ? '0' : '@') + v));
        }
    }
    return text;
}

bool operator==(const TQJ &a, const TQJ &b)
{
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            const TNode &x = a.node(i, j);
            const TNode &y = b.node(i, j);
            if (x.column != y.column || x.row != y.row || x.value != y.value || x.given != y.given)
                return false;
        }
    }
    return true;
}
