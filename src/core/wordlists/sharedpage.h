#pragma once

#include "text/textfile.h"

#include "wordlists/wordliststore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// A published list as the page of shared lists carries it.
struct SharedRecord {
    WordSet list;
    QString publisher;
};

// The page's displayed text: one line of any content, then records of eleven lines each, with
// nothing between them: the title, words 1 to 9, the publisher's name.
class SharedPage {
public:
    static constexpr int kLines = 11;

    SharedPage() = default;
    // Takes the displayed lines of a page; the first line is dropped.
    static SharedPage fromlines(QStringList lines);

    // Every line whose number is a multiple of eleven starts a record, even when the page ends
    // before the record does.
    int count() const { return int((text_.size() + kLines - 1) / kLines); }
    QString title(int k) const { return text_.at(qsizetype(k) * kLines); }
    // Line n of record k (0 the title, 1..9 the words, 10 the publisher); none when the page
    // ends before it.
    std::optional<QString> line(int k, int n) const;
    const QStringList &text() const { return text_; }

    // The records of the lists' JSON: their lines as the page has them, and their words'
    // readings and meanings.
    static SharedPage fromrecords(const QList<SharedRecord> &records);
    // Word n (1..9) of record k with its reading and meaning where the records brought them;
    // the line's text alone for a page. Empty when the page ends before it.
    Word word(int k, int n) const;

private:
    QStringList text_;
    QList<Word> words_; // nine per record, from fromrecords() only
};

// The lists as the service's JSON carries them (shareprotocol::kListsPath), compact UTF-8 with
// U+2028 and U+2029 escaped as well, so that the text is also a JavaScript literal.
QByteArray sharedlistsjson(const QList<SharedRecord> &records, qint64 total);
// The lists of that JSON, or none when body is no such JSON: not an object with "lists" an array
// of objects each with a string "title" and "publisher" and "words" nine objects with a string
// "text"; "reading" and "meaning" are strings when given. Texts are taken as they are.
std::optional<QList<SharedRecord>> parsesharedlists(const QByteArray &body);

// What the service sends: a heading line, then the records, each line ended by LF. The texts
// must hold no line break, or the records fall out of step.
QString sharedpagetext(const QList<SharedRecord> &records,
                       const QString &heading = QStringLiteral("Vaskelio shared word lists"));

// The text of a named character reference from its name ("eacute" of "&eacute;"); empty for a
// name it does not know. The program's is htmlreference, of the widget layer.
using NamedReference = std::function<QString(QStringView name)>;

// The lines an HTML page displays, as a browser shows them: <br> ends a line, the start and end
// of a block (p, div, li, tr, headings, tables, lists ...) end a non-empty line, tags and
// comments are dropped, script, style and title are not shown, numeric character references
// are decoded and named ones through named (one it does not know stays as typed), and runs of
// white space become one space within a line and vanish at its ends (inside <pre> they are
// kept, and its line ends count).
QStringList htmllines(QStringView html, const NamedReference &named);

// The displayed lines of a fetched page. contentType is the Content-Type header: text/html and
// application/xhtml+xml are read as HTML, anything else as plain text. Its charset, when named
// and known, decodes the body; otherwise a byte-order mark or (HTML) a meta charset does, else
// UTF-8. Never fails: bytes that do not decode become U+FFFD. named decodes the named character
// references of HTML; without it they stay as typed.
QStringList pagelines(const QByteArray &body, const QByteArray &contentType,
                      const NamedReference &named = {});
