#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// What a learner's flash-card file holds for us: one note per word, in file order.
struct Note {
    int number = 0; // the line it starts on (a package: its place among the notes, from 1)
    QString word;
    QString reading;
    QString meaning;
    QString deck;     // empty: the file names none
    QString language; // the word's, where the file names it (notelanguage.h); else empty
};

// Why a note of a file gives no word of a list.
struct NoteRefusal {
    enum class Kind {
        NoWord,      // its word is blank
        Control,     // its word holds a control character
        Undecodable, // its word holds bytes that did not decode
        Repeated,    // its deck has the same word earlier (earlier: that note's number)
        LeftOver,    // after the last full list of nine of its deck
    };
    int number = 0;
    QString word;
    Kind kind = Kind::NoWord;
    int earlier = 0;
};

// The notes of a file as read, before they are dealt into lists.
struct NoteFile {
    enum class Format { AnkiText, AnkiPackage, Mnemosyne, Kvtml };
    Format format = Format::AnkiText;
    QString title; // the file's own name for its words (KVTML), else empty
    QList<Note> notes;
    QList<NoteRefusal> refused;
};

// Why a file gave no notes at all.
struct NoteFileProblem {
    enum class Kind {
        Unreadable,    // detail: the system's reason
        NotUnderstood, // no format this program reads
        BadPackage,    // detail: what libzip, zstd or SQLite said
        BadXml,        // line, detail: what the XML reader said
    };
    Kind kind = Kind::NotUnderstood;
    QString detail;
    qint64 line = 0;
};

// The fields of one note as its file holds them.
struct NoteFields {
    QStringView word, meaning, reading;
    QString deck;
    bool html = false;        // the fields are HTML
    bool undecodable = false; // the note's text holds bytes that did not decode
    QString language{};
};
// Appends the note to file.notes, its fields made plain text (fieldtext, furigana); or, when its
// word is blank or a text holds a control character, its refusal to file.refused.
void addnote(NoteFile &file, int number, const NoteFields &fields);
