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

// What the palette shows of each word: the word itself, or its meaning or reading.
enum class WordFace { Text = 0, Meaning = 1, Reading = 2 };

// The face of a word: its meaning or reading where it has one, else its text.
inline QString face(const Word &word, WordFace which)
{
    const QString &other = which == WordFace::Meaning   ? word.meaning
                           : which == WordFace::Reading ? word.reading
                                                        : word.text;
    return other.isEmpty() ? word.text : other;
}

// Ctrl+M's order: words, meanings, readings, words again; a face no word of the set has is
// passed over. The same face when the set has neither meanings nor readings.
inline WordFace nextFace(const std::array<Word, 9> &words, WordFace now)
{
    bool meanings = false, readings = false;
    for (const Word &word : words) {
        meanings = meanings || !word.meaning.isEmpty();
        readings = readings || !word.reading.isEmpty();
    }
    const bool has[3] = {true, meanings, readings};
    for (int step = 1; step <= 3; ++step) {
        const int next = (int(now) + step) % 3;
        if (has[next])
            return WordFace(next);
    }
    return now;
}

// "苹果 · píngguǒ · apple": the word and what is known of it; empty when nothing is beyond
// the text, so that a plain list shows as before.
inline QString glossLine(const Word &word)
{
    if (word.reading.isEmpty() && word.meaning.isEmpty())
        return {};
    QString line = word.text.trimmed();
    for (const QString *part : {&word.reading, &word.meaning})
        if (!part->isEmpty())
            line += QStringLiteral(" · ") + *part;
    return line;
}

// A title and nine words; word k takes the place of digit k on the board. The one shape a word
// list has from lists.txt to the screen.
struct WordSet {
    static constexpr int kWords = 9;

    QString title;
    std::array<Word, kWords> words;
    // The language the list is spoken in where the learner or an import named one; empty:
    // told from its words (speech/spokenword.h). Kept beside the meanings, not in lists.txt.
    QString language{};

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
        return a.title == b.title && a.words == b.words && a.language == b.language;
    }
    friend bool operator!=(const WordSet &a, const WordSet &b) { return !(a == b); }
};
