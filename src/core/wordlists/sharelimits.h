#pragma once

#include "text/result.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// What the sharing service accepts and sends, shared by the program and vaskelio-share so that
// the dialogs can tell the player beforehand what the service would refuse.

// The longest texts a submission may carry, in characters. With them every accepted request
// line stays within what the service reads of a request head, even when each character takes
// four UTF-8 bytes, each sent as %XX.
inline constexpr int kMaxTitle = 100;
inline constexpr int kMaxWord = 50;
inline constexpr int kMaxName = 50;
// A word's reading and meaning, both optional: a meaning is a short gloss, not a definition.
inline constexpr int kMaxReading = 50;
inline constexpr int kMaxMeaning = 100;

// The program reads no page of shared lists larger than this.
inline constexpr qint64 kSharePageLimit = 8 * 1024 * 1024;
// The most a record can take on the page: every character four UTF-8 bytes, eleven line ends.
inline constexpr qint64 kShareRecordMaxBytes = 4 * (kMaxTitle + 9 * kMaxWord + kMaxName) + 11;
// Room for the page's heading line.
inline constexpr qint64 kShareHeadingMaxBytes = 256;
// The page holds the newest lists up to a cap; any cap up to this one keeps it within the
// program's limit.
inline constexpr int kDefaultPageCap = 1000;
inline constexpr int kMaxPageCap =
    int((kSharePageLimit - kShareHeadingMaxBytes) / kShareRecordMaxBytes);

// Submissions one client address may make within an hour, unless the service is told otherwise.
inline constexpr int kDefaultSubmitsPerHour = 20;

// The fields of a submission: 0 the title, 1 to 9 the words, 10 the publisher's name, then the
// optional readings (11 to 19) and meanings (21 to 29) of words 1 to 9.
inline constexpr int kShareNameField = 10;
inline constexpr int kShareReadingField = 10; // + k for word k
inline constexpr int kShareMeaningField = 20; // + k for word k
inline constexpr int kShareLastField = kShareMeaningField + 9;
inline bool isreadingfield(int field)
{
    return field > kShareReadingField && field <= kShareReadingField + 9;
}
inline bool ismeaningfield(int field)
{
    return field > kShareMeaningField && field <= kShareMeaningField + 9;
}
// The word (1..9) a reading or meaning field belongs to, else 0.
inline int glossedword(int field)
{
    return isreadingfield(field)   ? field - kShareReadingField
           : ismeaningfield(field) ? field - kShareMeaningField
                                   : 0;
}

// The JSON of the lists holds every character as at most four bytes (no control character is
// stored, so none takes a six-byte escape; a quote or backslash takes two), plus its keys.
inline constexpr qint64 kShareJsonRecordMaxBytes =
    4 * (kMaxTitle + 9 * (kMaxWord + kMaxReading + kMaxMeaning) + kMaxName) + 512;
// The program reads no JSON of shared lists larger than this: room for the largest cap.
inline constexpr qint64 kShareListsLimit = 32 * 1024 * 1024;
static_assert(kMaxPageCap * kShareJsonRecordMaxBytes + 1024 <= kShareListsLimit);

// How the player and the service's replies name field: "the title", "word 3", "the name",
// "reading 3", "meaning 3".
QString sharefieldname(int field);

// Why the service would refuse a text as a field. A text is refused when it is empty (nothing
// left once U+0000..U+0020 are removed from both ends), holds a line break or another control
// character (which would break the page's lines), or is longer than its limit in characters.
// A reading or meaning may be empty (the word has none), but not blank.
struct ShareValueProblem {
    enum class Kind { Empty, Control, TooLong };
    int field = 0;
    Kind kind = Kind::Empty;
    int limit = 0; // for TooLong, in characters

    // In one line of English, as the service replies: "word 3 is longer than 50 characters".
    QString english() const;
};
Result<void, ShareValueProblem> checksharevalue(int field, const QString &text);
