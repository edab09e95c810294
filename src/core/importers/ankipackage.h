#pragma once

#include "importers/notes.h"
#include "text/result.h"

#include <QByteArray>
#include <QString>

// An Anki package (.apkg, or a whole collection, .colpkg): a zip holding the SQLite collection.
// Newer Anki writes it zstd-compressed as collection.anki21b and adds a collection.anki2 that
// holds only a note asking to update Anki; older Anki wrote collection.anki21 or .anki2. The
// newest one there is read. Each note is one record of table notes, its fields joined by U+001F
// (word, meaning, reading, as in the text export); its deck is that of its first card, named
// from table decks or, in the old schema, from the JSON of col.decks, with "::" between the
// names of a deck and its parents; its words' language is the one its note type's name names
// (notes.mid, named from table notetypes or col.models). Notes come in the order they were made.

// Whether the bytes start as a zip archive does.
bool lookszip(const QByteArray &start);
Result<NoteFile, NoteFileProblem> readankipackage(const QString &path);
