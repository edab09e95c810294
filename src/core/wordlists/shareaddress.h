#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

struct WordSet;

// The sharing service is reached at a base address (scheme, host, optional port and path
// prefix); the two requests append their fixed paths to it.
inline constexpr char kDefaultShareBase[] = "http://share.vaskelio.org";
inline constexpr char kShareBaseVariable[] = "VASKELIO_SHARE_URL";

// VASKELIO_SHARE_URL when it is set and not blank, else kDefaultShareBase; without trailing "/".
QString sharebase();

// The page of shared lists: base + "/pellimo/wordlist.php?appid=1".
QString sharepageaddress(const QString &base);

// The lists' JSON: base + "/pellimo/wordlists.json?appid=1".
QString sharelistsaddress(const QString &base);

// Percent-encodes an address one character at a time (a surrogate pair is one character):
// U+0021..U+007E pass except * # % < > [ ]; those seven, the space, control characters and
// everything above U+007E become their UTF-8 bytes as %XX, upper-case. A lone surrogate is
// encoded as U+FFFD.
QByteArray percentencode(QStringView text);

// The same inside one query value, which also encodes & = + so that a text holding them reaches
// the service whole instead of being cut at the & or =, or read with a space for the +.
QByteArray percentencodevalue(QStringView text);

// The submission: base + "/pellimo/checkadd.php?appid=1&w0=" title "&w1=" .. "&w9=" words
// "&n1=" name, then "&rK=" reading and "&gK=" meaning of each word K that has them, the texts
// exactly as given, encoded as above.
QByteArray submitaddress(const QString &base, const WordSet &list, const QString &name);

// The text a submission sends as field (see sharelimits.h) of list and name.
QString sharefieldvalue(const WordSet &list, const QString &name, int field);
