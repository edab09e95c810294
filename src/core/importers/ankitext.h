#pragma once

#include "importers/notes.h"

#include <QList>
#include <QStringView>

// Anki's "Notes in Plain Text": "#key:value" header lines (#separator, #html, #deck, #columns
// and the "#... column" numbers of the guid, note type, deck and tags), then one note per
// record, fields quoted as in CSV where they hold the separator, a quote or a line break. Of a
// note's own fields the first is the word, the second its meaning, the third its reading. The
// note type, by #notetype or its column, gives the words' language where its name names one.
// Without a separator header the separator is guessed from the first records; without #html the
// fields are HTML when the text holds a tag or an entity.

// Whether the text starts with one of those header lines (after '#' comments, if any).
bool hasankiheader(QStringView text);

// replaced: where the decoder replaced bytes (DecodedText::replaced), in order.
NoteFile readankitext(QStringView text, const QList<qsizetype> &replaced = {});

// Mnemosyne's tab-separated export: word, pronunciation, meaning on each line.
// Whether every one of the first lines has those three fields.
bool looksmnemosyne(QStringView text);
NoteFile readmnemosyne(QStringView text, const QList<qsizetype> &replaced = {});
