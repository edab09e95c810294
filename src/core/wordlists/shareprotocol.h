#pragma once

#include "wordlists/sharelimits.h"

#include <QByteArray>
#include <QList>

// What the game and the sharing service agree on: the two paths and the query's keys. Both sides
// take them from here, so neither can drift from the other.
namespace shareprotocol {

// GET: the page of published lists.
inline constexpr char kPagePath[] = "/pellimo/wordlist.php";
// GET: the same lists as JSON, with their words' readings and meanings (appid as for the page):
//   {"total": N, "lists": [{"title": T, "publisher": P,
//     "words": [{"text": W, "reading": R, "meaning": M}, ... nine in all]}, ...]}
// newest first, the same lists as the page; "total" counts every published list (the page's
// X-Total-Count). A word without a reading or meaning has "" there. Older services answer 404.
inline constexpr char kListsPath[] = "/pellimo/wordlists.json";
// GET: a submission, the keys below in this order.
inline constexpr char kSubmitPath[] = "/pellimo/checkadd.php";
inline constexpr char kAppIdKey[] = "appid";
inline constexpr char kAppId[] = "1";

// The key of a field: "w0" the title, "w1".."w9" the words, "n1" the publisher's name
// (kShareNameField), "r1".."r9" the readings and "g1".."g9" the meanings of words 1..9. The
// eleven of the first submissions come first and are always sent; a reading or meaning only
// when the word has one, so that a list without them is sent as before.
inline QByteArray fieldKey(int field)
{
    if (field == kShareNameField)
        return QByteArray("n1");
    if (isreadingfield(field))
        return "r" + QByteArray::number(glossedword(field));
    if (ismeaningfield(field))
        return "g" + QByteArray::number(glossedword(field));
    return "w" + QByteArray::number(field);
}

// Every field's number, in the order of a submission.
inline QList<int> submissionfields()
{
    QList<int> fields;
    for (int field = 0; field <= kShareNameField; ++field)
        fields.append(field);
    for (int k = 1; k <= 9; ++k)
        fields << kShareReadingField + k << kShareMeaningField + k;
    return fields;
}

} // namespace shareprotocol
