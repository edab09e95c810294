#include "importers/wordimport.h"

#include "i18n/texttable.h"
#include "importers/ankipackage.h"
#include "importers/ankitext.h"
#include "importers/kvtml.h"
#include "importers/notelanguage.h"
#include "wordlists/wordliststore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace {
// A table of lists takes kilobytes and a text export of thousands of notes a few megabytes; a
// package, which also holds sound and pictures, is read by its collection alone.
constexpr qint64 kTextLimit = 32 * 1024 * 1024;
constexpr qint64 kSniffBytes = 4096;

using Problem = NoteFileProblem;

QString ui(const TextTables &texts, const char *key)
{
    return texts.uitext(QString::fromLatin1(key));
}

// Whether the rows are a table of ours: one of them has the width of a list, or, in a file
// named as a table, one has more fields than a note of word, meaning and reading, so that a
// table whose rows are all too short is still refused row by row, as it always was. A file of
// no rows at all imports nothing, as a table always did.
bool isTable(const QList<TableRow> &rows, bool namedTable)
{
    constexpr int kNoteFields = 3;
    if (rows.isEmpty())
        return true;
    for (const TableRow &row : rows)
        if (importwidth(row.fields) != 0 || (namedTable && row.fields.size() > kNoteFields))
            return true;
    return false;
}

// Some other program's file, read as text: a NUL, which no text holds, or control characters
// other than tabs and line ends at more than one in twenty.
bool looksBinary(QStringView text)
{
    constexpr qsizetype kOneIn = 20;
    qsizetype controls = 0;
    for (const QChar c : text) {
        if (c.isNull())
            return true;
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n')
            ++controls;
    }
    return controls * kOneIn > text.size();
}

// A list's title as the store keeps it: one line, no outer spaces.
QString titled(const QString &name)
{
    return oneline(name).trimmed();
}

// The language the notes of a list name, where those that name one agree; empty where two
// differ, none names one, or the words are not written as that language is.
QString agreedLanguage(const QList<const Note *> &notes, const WordSet &list)
{
    QString agreed;
    for (const Note *note : notes) {
        if (note->language.isEmpty())
            continue;
        if (!agreed.isEmpty() && agreed != note->language)
            return {};
        agreed = note->language;
    }
    return agreed.isEmpty() || !writtenin(agreed, list.texts()) ? QString() : agreed;
}

struct Dealt {
    QList<WordSet> lists;
    QList<NoteRefusal> leftOut;
};

Dealt deal(const ImportSource &source)
{
    Dealt dealt;
    const QString fallback =
        titled(source.notes.title).isEmpty() ? source.name : titled(source.notes.title);
    // Decks in the order their first notes come.
    QStringList decks;
    QHash<QString, QList<const Note *>> byDeck;
    for (const Note &note : source.notes.notes) {
        const QString deck = titled(note.deck).isEmpty() ? fallback : titled(note.deck);
        if (!byDeck.contains(deck))
            decks.append(deck);
        byDeck[deck].append(&note);
    }
    dealt.leftOut = source.notes.refused;
    for (const QString &deck : decks) {
        QList<const Note *> kept;
        QHash<QString, int> seen; // word -> the note that has it
        for (const Note *note : byDeck.value(deck)) {
            if (const auto earlier = seen.constFind(note->word); earlier != seen.cend()) {
                NoteRefusal refusal{note->number, note->word, NoteRefusal::Kind::Repeated};
                refusal.earlier = *earlier;
                dealt.leftOut.append(refusal);
                continue;
            }
            seen.insert(note->word, note->number);
            kept.append(note);
        }
        const qsizetype full = kept.size() / WordSet::kWords;
        for (qsizetype n = 0; n < full; ++n) {
            WordSet list;
            list.title = full > 1 ? QStringLiteral("%1 %2").arg(deck).arg(n + 1) : deck;
            const QList<const Note *> notes = kept.mid(n * WordSet::kWords, WordSet::kWords);
            for (int k = 0; k < WordSet::kWords; ++k)
                list.words[k] = {notes.at(k)->word, notes.at(k)->reading, notes.at(k)->meaning};
            list.language = agreedLanguage(notes, list);
            dealt.lists.append(list);
        }
        for (qsizetype k = full * WordSet::kWords; k < kept.size(); ++k)
            dealt.leftOut.append(
                {kept.at(k)->number, kept.at(k)->word, NoteRefusal::Kind::LeftOver});
    }
    std::stable_sort(
        dealt.leftOut.begin(), dealt.leftOut.end(),
        [](const NoteRefusal &a, const NoteRefusal &b) { return a.number < b.number; });
    return dealt;
}
} // namespace

Result<ImportSource, NoteFileProblem> readimportsource(const QString &path)
{
    ImportSource source;
    const QFileInfo info(path);
    source.name = info.completeBaseName();
    const QString suffix = info.suffix().toLower();
    QByteArray head;
    if (QFile file(path); info.isFile() && file.open(QIODevice::ReadOnly))
        head = file.read(kSniffBytes);
    if (lookszip(head) || suffix == QLatin1String("apkg") || suffix == QLatin1String("colpkg")) {
        auto notes = readankipackage(path);
        if (!notes)
            return failure(notes.error());
        source.kind = ImportSource::Kind::Notes;
        source.notes = std::move(*notes);
        return source;
    }
    TextFileResult read = readtextfile(path, kTextLimit);
    if (!read)
        return failure(Problem{Problem::Kind::Unreadable, read.error().reason, 0});
    if (suffix == QLatin1String("kvtml") || lookskvtml(head)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return failure(Problem{Problem::Kind::Unreadable, file.errorString(), 0});
        auto notes = readkvtml(file.readAll());
        if (!notes)
            return failure(notes.error());
        source.kind = ImportSource::Kind::Notes;
        source.notes = std::move(*notes);
        return source;
    }
    const QString &text = read->text;
    if (hasankiheader(text)) {
        source.notes = readankitext(text, read->replaced);
    } else if (isTable(tablerows(text, read->replaced),
                       suffix == QLatin1String("csv") || suffix == QLatin1String("tsv"))) {
        // A table's row with a NUL is refused as holding a control character, as ever.
        source.table = std::move(*read);
        return source;
    } else if (looksBinary(text)) {
        return failure(Problem{Problem::Kind::NotUnderstood, {}, 0});
    } else if (looksmnemosyne(text)) {
        source.notes = readmnemosyne(text, read->replaced);
    } else {
        source.notes = readankitext(text, read->replaced);
    }
    source.kind = ImportSource::Kind::Notes;
    if (source.notes.notes.isEmpty() && source.notes.refused.isEmpty())
        return failure(Problem{Problem::Kind::NotUnderstood, {}, 0});
    return source;
}

QString problemtext(const NoteFileProblem &problem, const TextTables &texts)
{
    switch (problem.kind) {
    case Problem::Kind::Unreadable:
        return problem.detail;
    case Problem::Kind::NotUnderstood:
        break;
    case Problem::Kind::BadPackage:
        return ui(texts, "frmwordlist.msgbadpackage").arg(problem.detail);
    case Problem::Kind::BadXml:
        return ui(texts, "frmwordlist.msgbadxml")
            .arg(QString::number(problem.line), problem.detail);
    }
    return ui(texts, "frmwordlist.msgnotunderstood");
}

NoteImport checknotes(const ImportSource &source, const WordListStore &store,
                      const ImportProgress &progress)
{
    Dealt dealt = deal(source);
    NoteImport import;
    import.leftOut = std::move(dealt.leftOut);
    // The titles go through the table's check: the same rules, and the same answers, as there.
    QList<TableRow> rows;
    for (qsizetype n = 0; n < dealt.lists.size(); ++n) {
        const WordSet &list = dealt.lists.at(n);
        rows.append({int(n + 1), QStringList{list.title} + list.texts()});
        import.dealtTitles.append(list.title);
    }
    const ImportCheck check = checkimport(rows, store, progress);
    import.cancelled = check.cancelled;
    import.refusedLists = check.refused;
    import.stoppedAt = check.stoppedAt;
    QSet<int> refused;
    for (const ImportRefusal &refusal : check.refused)
        refused.insert(refusal.row);
    // The lists as dealt, with their readings and meanings, not as the check returns them.
    for (const TableRow &row : rows) {
        if (check.stoppedAt > 0 && row.number >= check.stoppedAt)
            break;
        if (!refused.contains(row.number))
            import.lists.append(dealt.lists.at(row.number - 1));
    }
    return import;
}

QString addedtext(const WordSet &list, const TextTables &texts)
{
    return ui(texts, "frmwordlist.msgimportadded").arg(list.title);
}

QString notetext(const NoteRefusal &refusal, NoteFile::Format format, const TextTables &texts)
{
    const bool package = format == NoteFile::Format::AnkiPackage;
    QString why;
    switch (refusal.kind) {
    case NoteRefusal::Kind::NoWord:
        why = ui(texts, "frmwordlist.msgnoteempty");
        break;
    case NoteRefusal::Kind::Control:
        why = ui(texts, "frmwordlist.msgnotecontrol");
        break;
    case NoteRefusal::Kind::Undecodable:
        why = ui(texts, "frmwordlist.msgimportundecodable");
        break;
    case NoteRefusal::Kind::Repeated:
        why = ui(texts,
                 package ? "frmwordlist.msgnoterepeatednote" : "frmwordlist.msgnoterepeatedline")
                  .arg(refusal.earlier);
        break;
    case NoteRefusal::Kind::LeftOver:
        why = ui(texts, "frmwordlist.msgnoteleftover");
        break;
    }
    return ui(texts, package ? "frmwordlist.msgimportnote" : "frmwordlist.msgimportline")
        .arg(QString::number(refusal.number), refusal.word, why);
}

QString listrefusaltext(const NoteImport &import, const ImportRefusal &refusal,
                        const TextTables &texts)
{
    const QString title = import.dealtTitles.value(refusal.row - 1);
    // Only the title can be wrong: the words were checked as the notes were read.
    const QString why =
        refusal.kind == ImportRefusal::Kind::TitleInUse ||
                refusal.kind == ImportRefusal::Kind::TitleRepeated
            ? ui(texts, "frmwordlist.msgimporttaken").arg(title)
            : ui(texts, "frmwordlist.msgimportcontrol").arg(ui(texts, "frmsubmit.msgfieldtitle"));
    return ui(texts, "frmwordlist.msgimportlistnot").arg(title, why);
}

QString liststoppedtext(const NoteImport &import, const TextTables &texts)
{
    return ui(texts, "frmwordlist.msgimportlistcap")
        .arg(QString::number(kMaxImportedLists), import.dealtTitles.value(import.stoppedAt - 1));
}

ImportOutcome checksource(const ImportSource &source, const WordListStore &store,
                          const TextTables &texts, const ImportProgress &progress)
{
    ImportOutcome outcome;
    if (source.kind == ImportSource::Kind::Table) {
        const ImportCheck check =
            checkimport(tablerows(source.table.text, source.table.replaced), store, progress);
        outcome.cancelled = check.cancelled;
        outcome.lists = check.lists;
        for (const ImportRefusal &refusal : check.refused)
            outcome.notAdded.append(refusaltext(refusal, texts));
        if (check.stoppedAt > 0)
            outcome.stopped = stoppedtext(check, texts);
        return outcome;
    }
    const NoteImport import = checknotes(source, store, progress);
    outcome.cancelled = import.cancelled;
    outcome.lists = import.lists;
    for (const ImportRefusal &refusal : import.refusedLists)
        outcome.notAdded.append(listrefusaltext(import, refusal, texts));
    for (const NoteRefusal &refusal : import.leftOut)
        outcome.notAdded.append(notetext(refusal, source.notes.format, texts));
    if (import.stoppedAt > 0)
        outcome.stopped = liststoppedtext(import, texts);
    return outcome;
}

ImportRun runimport(const QString &path, WordListStore &store, const TextTables &texts)
{
    ImportRun run;
    const QString notImported =
        ui(texts, "frmwordlist.msgnotimported").arg(QDir::toNativeSeparators(path));
    const auto source = readimportsource(path);
    if (!source) {
        run.status = 2;
        run.err = QStringList{notImported, problemtext(source.error(), texts)};
        return run;
    }
    const ImportOutcome outcome = checksource(*source, store, texts);
    run.out = outcome.notAdded;
    if (!outcome.stopped.isEmpty())
        run.out.append(outcome.stopped);
    if (outcome.lists.isEmpty()) {
        run.status = 2;
        run.err.append(notImported);
        return run;
    }
    const StoreResult added = store.AddMany(outcome.lists);
    if (!keptcopy(added).isEmpty())
        run.err << ui(texts, "msgbackup") << keptcopy(added);
    if (!added) {
        run.status = 1;
        run.err << notImported << added.error().message;
        return run;
    }
    QStringList lines;
    for (const WordSet &list : outcome.lists)
        lines.append(addedtext(list, texts));
    run.out = lines + run.out;
    return run;
}
