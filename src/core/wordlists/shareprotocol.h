#pragma once

#include "wordlists/sharelimits.h"

#include <QByteArray>

// What the game and the sharing service agree on: the two paths and the query's keys. Both sides
// take them from here, so neither can drift from the other.
namespace shareprotocol {

// GET: the page of published lists.
inline constexpr char kPagePath[] = "/pellimo/wordlist.php";
// GET: a submission, the keys below in this order.
inline constexpr char kSubmitPath[] = "/pellimo/checkadd.php";
inline constexpr char kAppIdKey[] = "appid";
inline constexpr char kAppId[] = "1";

// The key of a field: "w0" the title, "w1".."w9" the words, "n1" the publisher's name
// (kShareNameField).
inline QByteArray fieldKey(int field)
{
    return field == kShareNameField ? QByteArray("n1") : "w" + QByteArray::number(field);
}

} // namespace shareprotocol
