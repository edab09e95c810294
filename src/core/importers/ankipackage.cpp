#include "importers/ankipackage.h"

#include "importers/notelanguage.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

#include <cstring>
#include <memory>

namespace {
// Far more than any vocabulary deck; a collection past it is not read into memory.
constexpr qint64 kMaxCollection = qint64(512) * 1024 * 1024;
constexpr char kFieldSeparator = '\x1f';

using Problem = NoteFileProblem;
Failure<Problem> packageProblem(const QString &detail)
{
    return failure(Problem{Problem::Kind::BadPackage, detail, 0});
}

struct ZipClose {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct ZipFileClose {
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
struct DbClose {
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
struct StatementFinalize {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Db = std::unique_ptr<sqlite3, DbClose>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalize>;

struct Entry {
    QByteArray bytes;
    bool compressed = false; // zstd
};

Result<Entry, Problem> readEntry(zip_t *archive)
{
    // The newest collection first: the others beside it are there for older versions of Anki.
    const struct {
        const char *name;
        bool compressed;
    } kCollections[] = {
        {"collection.anki21b", true}, {"collection.anki21", false}, {"collection.anki2", false}};
    for (const auto &collection : kCollections) {
        const zip_int64_t index = zip_name_locate(archive, collection.name, 0);
        if (index < 0)
            continue;
        zip_stat_t stat;
        if (zip_stat_index(archive, zip_uint64_t(index), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE) || stat.size > zip_uint64_t(kMaxCollection))
            return packageProblem(QStringLiteral("%1: too large").arg(collection.name));
        const std::unique_ptr<zip_file_t, ZipFileClose> file(
            zip_fopen_index(archive, zip_uint64_t(index), 0));
        if (!file)
            return packageProblem(QString::fromUtf8(zip_strerror(archive)));
        Entry entry{QByteArray(qsizetype(stat.size), Qt::Uninitialized), collection.compressed};
        if (zip_fread(file.get(), entry.bytes.data(), stat.size) != zip_int64_t(stat.size))
            return packageProblem(QString::fromUtf8(zip_file_strerror(file.get())));
        return entry;
    }
    return packageProblem(QStringLiteral("no collection.anki21b, .anki21 or .anki2 in it"));
}

Result<QByteArray, Problem> unzstd(const QByteArray &compressed)
{
    const std::unique_ptr<ZSTD_DStream, decltype(&ZSTD_freeDStream)> stream(ZSTD_createDStream(),
                                                                            ZSTD_freeDStream);
    if (!stream)
        return packageProblem(QStringLiteral("zstd: out of memory"));
    QByteArray out;
    ZSTD_inBuffer in{compressed.constData(), size_t(compressed.size()), 0};
    size_t last = 0;
    for (;;) {
        const qsizetype done = out.size();
        out.resize(done + qsizetype(ZSTD_DStreamOutSize()));
        ZSTD_outBuffer buffer{out.data() + done, size_t(out.size() - done), 0};
        last = ZSTD_decompressStream(stream.get(), &buffer, &in);
        if (ZSTD_isError(last))
            return packageProblem(QStringLiteral("zstd: %1").arg(ZSTD_getErrorName(last)));
        out.resize(done + qsizetype(buffer.pos));
        if (out.size() > kMaxCollection)
            return packageProblem(QStringLiteral("collection too large"));
        // The input used up, the frame is whole, or more would have come into the room left.
        if (in.pos == in.size && (last == 0 || buffer.pos < buffer.size))
            break;
    }
    if (last != 0)
        return packageProblem(QStringLiteral("zstd: the data ends early"));
    return out;
}

QString dbProblem(sqlite3 *db)
{
    return QStringLiteral("SQLite: %1").arg(QString::fromUtf8(sqlite3_errmsg(db)));
}

// The collection as a read-only database in memory: no copy of it on disk to clean up.
Result<Db, Problem> openCollection(QByteArray bytes)
{
    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr);
    Db db(raw);
    if (opened != SQLITE_OK)
        return packageProblem(dbProblem(db.get()));
    // A collection in WAL mode reads as one in rollback mode: there is no WAL file beside it.
    if (bytes.size() > 19 && bytes.at(18) == 2 && bytes.at(19) == 2)
        bytes[18] = bytes[19] = 1;
    auto *copy = static_cast<unsigned char *>(sqlite3_malloc64(sqlite3_uint64(bytes.size())));
    if (!copy)
        return packageProblem(QStringLiteral("SQLite: out of memory"));
    std::memcpy(copy, bytes.constData(), size_t(bytes.size()));
    if (sqlite3_deserialize(db.get(), "main", copy, bytes.size(), bytes.size(),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) !=
        SQLITE_OK)
        return packageProblem(dbProblem(db.get()));
    return db;
}

Result<Statement, Problem> prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
        return packageProblem(dbProblem(db));
    return Statement(raw);
}

QString columnText(sqlite3_stmt *statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

// Deck id -> its full name, "Parent::Child".
Result<QHash<qint64, QString>, Problem> deckNames(sqlite3 *db)
{
    QHash<qint64, QString> names;
    auto table = prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'decks'");
    if (!table)
        return failure(table.error());
    if (sqlite3_step(table->get()) == SQLITE_ROW) {
        auto decks = prepare(db, "SELECT id, name FROM decks");
        if (!decks)
            return failure(decks.error());
        while (sqlite3_step(decks->get()) == SQLITE_ROW)
            names.insert(
                sqlite3_column_int64(decks->get(), 0),
                columnText(decks->get(), 1).replace(QChar(kFieldSeparator), QStringLiteral("::")));
        return names;
    }
    auto col = prepare(db, "SELECT decks FROM col");
    if (!col)
        return failure(col.error());
    if (sqlite3_step(col->get()) == SQLITE_ROW) {
        const QJsonObject decks =
            QJsonDocument::fromJson(columnText(col->get(), 0).toUtf8()).object();
        for (auto it = decks.constBegin(); it != decks.constEnd(); ++it)
            names.insert(it.key().toLongLong(), it.value().toObject().value(u"name").toString());
    }
    return names;
}

// Note type id -> the language its name names ("Chinese (Basic)"), for the types that name one.
// New collections keep the types in their own table, old ones in col's JSON.
Result<QHash<qint64, QString>, Problem> noteTypeLanguages(sqlite3 *db)
{
    QHash<qint64, QString> languages;
    auto add = [&languages](qint64 id, const QString &name) {
        if (const QString language = namedlanguage(name); !language.isEmpty())
            languages.insert(id, language);
    };
    auto table =
        prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'notetypes'");
    if (!table)
        return failure(table.error());
    if (sqlite3_step(table->get()) == SQLITE_ROW) {
        auto types = prepare(db, "SELECT id, name FROM notetypes");
        if (!types)
            return failure(types.error());
        while (sqlite3_step(types->get()) == SQLITE_ROW)
            add(sqlite3_column_int64(types->get(), 0), columnText(types->get(), 1));
        return languages;
    }
    auto col = prepare(db, "SELECT models FROM col");
    if (!col)
        return failure(col.error());
    if (sqlite3_step(col->get()) == SQLITE_ROW) {
        const QJsonObject types =
            QJsonDocument::fromJson(columnText(col->get(), 0).toUtf8()).object();
        for (auto it = types.constBegin(); it != types.constEnd(); ++it)
            add(it.key().toLongLong(), it.value().toObject().value(u"name").toString());
    }
    return languages;
}
} // namespace

bool lookszip(const QByteArray &start)
{
    return start.startsWith("PK\x03\x04") || start.startsWith("PK\x05\x06");
}

Result<NoteFile, NoteFileProblem> readankipackage(const QString &path)
{
    int error = 0;
    const std::unique_ptr<zip_t, ZipClose> archive(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
    if (!archive) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, error);
        const QString detail = QString::fromUtf8(zip_error_strerror(&reason));
        zip_error_fini(&reason);
        return packageProblem(detail);
    }
    auto entry = readEntry(archive.get());
    if (!entry)
        return failure(entry.error());
    QByteArray bytes = std::move(entry->bytes);
    if (entry->compressed) {
        auto plain = unzstd(bytes);
        if (!plain)
            return failure(plain.error());
        bytes = std::move(*plain);
    }
    auto db = openCollection(std::move(bytes));
    if (!db)
        return failure(db.error());
    const auto decks = deckNames(db->get());
    if (!decks)
        return failure(decks.error());
    const auto types = noteTypeLanguages(db->get());
    if (!types)
        return failure(types.error());
    auto notes = prepare(db->get(), "SELECT n.flds, (SELECT c.did FROM cards c WHERE c.nid = n.id "
                                    "ORDER BY c.ord LIMIT 1), n.mid FROM notes n ORDER BY n.id");
    if (!notes)
        return failure(notes.error());
    NoteFile file;
    file.format = NoteFile::Format::AnkiPackage;
    int number = 0;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(notes->get())) == SQLITE_ROW) {
        const QString fields = columnText(notes->get(), 0);
        const QList<QStringView> parts = QStringView(fields).split(QChar(kFieldSeparator));
        addnote(file, ++number,
                {parts.at(0), parts.value(1), parts.value(2),
                 decks->value(sqlite3_column_int64(notes->get(), 1)), true, false,
                 types->value(sqlite3_column_int64(notes->get(), 2))});
    }
    if (step != SQLITE_DONE)
        return packageProblem(dbProblem(db->get()));
    return file;
}
