#pragma once

#include "text/result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// How the bytes of a text file were understood.
enum class TextEncoding {
    Utf8Bom,       // EF BB BF
    Utf16LE,       // FF FE
    Utf16BE,       // FE FF
    Utf8,          // no mark, valid UTF-8
    Utf16LENoMark, // no mark, zero bytes mostly at odd offsets: UTF-16 LE
    Utf16BENoMark, // no mark, zero bytes mostly at even offsets: UTF-16 BE
    System,        // no mark, Windows: the ANSI code page
    Detected,      // no mark, the encoding uchardet names (other than GB18030)
    Locale,        // no mark, the locale's own (non-UTF-8) encoding
    Gb18030,       // no mark, named by uchardet or the last resort: Chinese Windows files
    Latin1,        // no mark, and no GB18030 converter in this Qt build
};

struct DecodedText {
    QString text; // without the byte-order mark; line ends as in the file
    TextEncoding encoding = TextEncoding::Utf8;
    // The bytes said how to read them (a mark, or valid UTF-8) and nothing was replaced.
    bool clean = true;
    // Where text holds a U+FFFD that stands for bytes that did not decode or for half a
    // surrogate pair, in order; a U+FFFD the file itself holds is not here.
    QList<qsizetype> replaced;
};

// The locale's character encoding when it is one worth trying on unmarked text that is not UTF-8,
// else empty (UTF-8 and plain ASCII locales, and Windows, where the ANSI code page is used).
QByteArray localeencoding();

// Never fails: bytes that do not decode, and a surrogate without its partner, become U+FFFD.
// Unmarked text that is not UTF-8 is guessed at: UTF-16 by its zero bytes, then the encoding
// uchardet names, the locale's, GB18030; a guess is never clean, however good.
DecodedText decodetext(const QByteArray &bytes);
// Same, with the locale's encoding given (empty: none to try) instead of asked for.
DecodedText decodetext(const QByteArray &bytes, const QByteArray &localeEncoding);

// A text file as read: its text, how it was encoded and whether it decoded cleanly.
struct TextFile {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    qint64 bytes = 0;          // the file's size, mark included
    bool clean = true;         // as in DecodedText
    QList<qsizetype> replaced; // as in DecodedText
};

// Why a file could not be read. NotAFile: a folder, pipe, socket or device, never opened (opening
// a pipe waits for a writer, and a device may never end).
struct FileProblem {
    enum class Kind { Missing, Unreadable, NotAFile, TooLarge };
    Kind kind = Kind::Missing;
    QString reason; // the platform's description, or ours
};

using TextFileResult = Result<TextFile, FileProblem>;

// Reads a whole text file (resource paths included). The one reader of every text file of the
// program. A file of more than maxBytes (when not negative) is refused unread.
TextFileResult readtextfile(const QString &path, qint64 maxBytes = -1);

// Replaces a file with these bytes all at once: written aside and renamed over the old file, so
// a failed write leaves the old one whole. Fails with the system's reason.
Status writewholefile(const QString &path, const QByteArray &bytes);

// Removes what a write killed between linking its new copy and renaming it over the old file
// leaves in folder: "NAME.XXXXXX" beside names matching pattern ("lists.txt", "*.wrd"). Only
// copies older than a few seconds go, so a write in progress elsewhere is left alone.
void removewriteleftovers(const QString &folder, const QString &pattern);

// Text as UTF-16 little-endian with its byte-order mark, the form of the program's own files.
QByteArray utf16lewithmark(const QString &text);

// Lines of text: CR LF, CR and LF each end a line; a final line end starts no new line. Split by
// hand: a regular expression gives up on text that is not valid UTF-16.
QStringList textlines(QStringView text);

// A text that must stay one line of a file: each CR and each LF becomes a space, so that a pasted
// line break cannot shift the lines after it.
QString oneline(QString text);
