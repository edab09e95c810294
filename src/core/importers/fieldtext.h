#pragma once

#include <QString>
#include <QStringView>

// The text of a flash card's field as a word list wants it: one line, no markup.

// The text an HTML fragment shows: entities decoded, tags, comments, scripts and styles gone,
// line breaks and block ends as spaces, every run of white space (no-break space too) one space,
// trimmed.
QString htmltext(QStringView html);

// The field without Anki's media references ([sound:file.mp3]), white space folded as above;
// html: the field is HTML (an Anki field always is), else plain text.
QString fieldtext(QStringView field, bool html);

// A field in Anki's furigana notation, " 日本語[にほんご]" or "食[た]べ 物[もの]": the text
// without the readings (日本語, 食べ物) and the readings in place of what they read (にほんご,
// たべもの). A field without the notation is its own text and has no reading.
struct Furigana {
    QString text;
    QString reading; // empty when the field has no bracketed reading
};
Furigana furigana(const QString &field);
