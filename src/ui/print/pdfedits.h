#pragma once

#include "text/result.h"

#include <QByteArray>
#include <QHash>
#include <QList>

// Edits in place of a PDF as QPdfWriter writes it: one cross-reference table, each object where
// the table says.
namespace pdfedits {

struct Edit {
    qsizetype at, length;
    QByteArray with;
};

struct XrefEntry {
    qsizetype at;  // where the entry's ten digits stand
    qint64 offset; // where its object starts
};

struct Xref {
    qsizetype valueAt = 0, valueLength = 0; // startxref's number
    qint64 tableAt = 0;
    QHash<int, XrefEntry> objects; // objects in use
};

qsizetype skipSpace(const QByteArray &bytes, qsizetype at);
qsizetype digitsEnd(const QByteArray &bytes, qsizetype at);

// Fails on a file with more than one revision or a table it cannot read.
Result<Xref> readXref(const QByteArray &pdf);

// Where object number's dictionary starts ("<<"), or -1.
qsizetype objectBody(const QByteArray &pdf, const Xref &xref, int number);

// The bytes with the edits made (none overlapping), the cross-reference table and startxref
// following the bytes that moved.
QByteArray rewritten(const QByteArray &pdf, const Xref &xref, const QList<Edit> &edits);

} // namespace pdfedits
