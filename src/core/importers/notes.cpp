#include "importers/notes.h"

#include "importers/fieldtext.h"
#include "text/textrules.h"

void addnote(NoteFile &file, int number, const NoteFields &fields)
{
    const Furigana word = furigana(fieldtext(fields.word, fields.html));
    // A reading may be written over the word itself ("日本語[にほんご]"): its kana are the reading.
    const Furigana reading = furigana(fieldtext(fields.reading, fields.html));
    Note note{number,
              word.text,
              reading.reading.isEmpty() ? reading.text : reading.reading,
              fieldtext(fields.meaning, fields.html),
              fields.deck,
              fields.language};
    if (note.reading.isEmpty())
        note.reading = word.reading;
    NoteRefusal refusal{number, note.word};
    if (fields.undecodable)
        refusal.kind = NoteRefusal::Kind::Undecodable;
    else if (isBlankWord(note.word))
        refusal.kind = NoteRefusal::Kind::NoWord;
    else if (holdsControl(note.word) || holdsControl(note.reading) || holdsControl(note.meaning))
        refusal.kind = NoteRefusal::Kind::Control;
    else {
        file.notes.append(note);
        return;
    }
    file.refused.append(refusal);
}
