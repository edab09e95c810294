#pragma once

#include "importers/notes.h"
#include "text/result.h"

#include <QByteArray>

// KDE Parley's KVTML 2.0: each <entry> a note, its translation 0 giving the word (<text>) and
// its reading (<pronunciation>), translation 1 its meaning; <information><title> the title;
// <identifiers><identifier id="0"><locale> (else its <name>) the words' language.
// The line of each note is its entry's.

// Whether the bytes' root element is <kvtml> (looked for in their first kilobytes).
bool lookskvtml(const QByteArray &bytes);
Result<NoteFile, NoteFileProblem> readkvtml(const QByteArray &bytes);
