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

// The fields of a submission: 0 the title, 1 to 9 the words, 10 the publisher's name.
inline constexpr int kShareNameField = 10;

// How the player and the service's replies name field: "the title", "word 3", "the name".
QString sharefieldname(int field);

// Why the service would refuse a text as a field. A text is refused when it is empty (nothing
// left once U+0000..U+0020 are removed from both ends), holds a line break or another control
// character (which would break the page's lines), or is longer than its limit in characters.
struct ShareValueProblem {
    enum class Kind { Empty, Control, TooLong };
    int field = 0;
    Kind kind = Kind::Empty;
    int limit = 0; // for TooLong, in characters

    // In one line of English, as the service replies: "word 3 is longer than 50 characters".
    QString english() const;
};
Result<void, ShareValueProblem> checksharevalue(int field, const QString &text);
