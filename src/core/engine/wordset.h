#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <utility>

// One of the nine words of a set: what the board shows in place of a digit, and what a learner's
// flash cards may say of it (苹果 · píngguǒ · apple). Only text is kept in lists.txt; reading
// and meaning come from an import and are empty otherwise.
struct Word {
    // Not an aggregate: a list of nine texts in braces still makes nine words, each a text,
    // where brace elision would take them three at a time.
    Word(QString text = {}, QString reading = {}, QString meaning = {})
        : text(std::move(text)), reading(std::move(reading)), meaning(std::move(meaning))
    {
    }

    QString text;
    QString reading;
    QString meaning;

    friend bool operator==(const Word &a, const Word &b)
    {
        return a.text == b.text && a.reading == b.reading && a.meaning == b.meaning;
    }
    friend bool operator!=(const Word &a, const Word &b) { return !(a == b); }
};

// A title and nine words; word k takes the place of digit k on the board. The one shape a word
// list has from lists.txt to the screen.
struct WordSet {
    static constexpr int kWords = 9;

    QString title;
    std::array<Word, kWords> words;

    // The text of word k (1..9); empty for any other k, such as a damaged file's number.
    QString text(int k) const { return k >= 1 && k <= kWords ? words[k - 1].text : QString(); }
    void setText(int k, const QString &text)
    {
        if (k >= 1 && k <= kWords)
            words[k - 1].text = text;
    }
    QStringList texts() const
    {
        QStringList all;
        for (const Word &word : words)
            all.append(word.text);
        return all;
    }
    // The first nine texts; those missing stay empty.
    static WordSet fromTexts(const QString &title, const QStringList &texts)
    {
        WordSet set;
        set.title = title;
        for (int k = 1; k <= kWords && k <= texts.size(); ++k)
            set.words[k - 1].text = texts.at(k - 1);
        return set;
    }

    friend bool operator==(const WordSet &a, const WordSet &b)
    {
        return a.title == b.title && a.words == b.words;
    }
    friend bool operator!=(const WordSet &a, const WordSet &b) { return !(a == b); }
};
