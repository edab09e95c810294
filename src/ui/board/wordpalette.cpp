#include "board/wordpalette.h"

#include "board/tntspeedbutton.h"

#include <QButtonGroup>

WordPalette::WordPalette(QWidget *parent) : QGroupBox(parent), group_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("gbselectword"));
    setTitle(QStringLiteral("Select Word"));
    resize(211, 218);
    static constexpr int lefts[3] = {8, 73, 137};
    static constexpr int tops[3] = {19, 83, 146};
    group_->setExclusive(true);
    for (int k = 1; k <= 9; ++k) {
        auto *b = new TTntspeedbutton(this);
        b->setObjectName(QStringLiteral("but%1").arg(k));
        b->setCheckable(true);
        // A speed button takes no focus, so the arrow keys stay with the board.
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(lefts[(k - 1) % 3], tops[(k - 1) / 3], 60, 60);
        group_->addButton(b, k);
        buttons_[k - 1] = b;
    }
    connect(group_, &QButtonGroup::idClicked, this, &WordPalette::wordClicked);
}

void WordPalette::showwords(const QStringList &words)
{
    for (int k = 1; k <= 9; ++k)
        buttons_[k - 1]->Setmycaption(k <= words.size() ? words.at(k - 1) : QString());
    speakwords();
}

void WordPalette::showwords(const std::array<Word, 9> &words, WordFace which)
{
    QStringList captions, descriptions;
    for (const Word &word : words) {
        captions.append(face(word, which));
        descriptions.append(glossLine(word));
    }
    showwords(captions);
    setDescriptions(descriptions);
}

void WordPalette::setDescriptions(const QStringList &descriptions)
{
    for (int k = 1; k <= 9; ++k) {
        const QString text = descriptions.value(k - 1);
        buttons_[k - 1]->setToolTip(text);
        buttons_[k - 1]->setAccessibleDescription(text);
    }
}

void WordPalette::showRemaining(const std::array<int, 9> &remaining)
{
    for (int k = 1; k <= 9; ++k)
        buttons_[k - 1]->setRemaining(remaining[k - 1]);
}

void WordPalette::setSpokenPattern(const QString &pattern)
{
    spokenPattern_ = pattern;
    speakwords();
}

void WordPalette::speakwords()
{
    for (int k = 1; k <= 9; ++k) {
        TTntspeedbutton *b = buttons_[k - 1];
        b->setAccessibleName(spokenPattern_.isEmpty()
                                 ? b->mycaption()
                                 : spokenPattern_.arg(QString::number(k), b->mycaption()));
    }
}

void WordPalette::setPressed(int k)
{
    if (k >= 1 && k <= 9)
        buttons_[k - 1]->setChecked(true);
}

int WordPalette::pressed() const
{
    const int id = group_->checkedId();
    return id < 0 ? 0 : id;
}
