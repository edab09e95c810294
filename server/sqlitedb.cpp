// The store in one SQLite file.
#include "shareschema.h"

#include <sqlite3.h>

#include <mutex>

namespace {
// A prepared statement, reset and cleared however the caller leaves, finalized with its owner.
class Statement {
public:
    Statement() = default;
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool prepare(sqlite3 *db, const char *sql)
    {
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) ==
               SQLITE_OK;
    }
    sqlite3_stmt *get() const { return stmt_; }

private:
    sqlite3_stmt *stmt_ = nullptr;
};

// One use of a prepared statement: binds, steps, and resets it at the end.
class Use {
public:
    explicit Use(const Statement &statement) : stmt_(statement.get()) {}
    ~Use()
    {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    Use(const Use &) = delete;
    Use &operator=(const Use &) = delete;

    bool bind(int index, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        return sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    bool bind(int index, const std::string &text)
    {
        return sqlite3_bind_text(stmt_, index, text.data(), int(text.size()), SQLITE_TRANSIENT) ==
               SQLITE_OK;
    }
    bool bind(int index, const char *text)
    {
        return sqlite3_bind_text(stmt_, index, text, -1, SQLITE_STATIC) == SQLITE_OK;
    }
    bool bind(int index, std::int64_t value)
    {
        return sqlite3_bind_int64(stmt_, index, value) == SQLITE_OK;
    }
    // The record's columns (recordcolumns()) at first .. first + kRecordColumns - 1.
    bool bind(int first, const SharedRecord &record)
    {
        bool bound = true;
        for (int k = 0; k < kRecordColumns && bound; ++k)
            bound = bind(first + k, recordvalue(record, k));
        return bound;
    }
    int step() { return sqlite3_step(stmt_); }
    QString text(int column) const
    {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
        return utf8text(QByteArrayView(bytes, sqlite3_column_bytes(stmt_, column)));
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }

private:
    sqlite3_stmt *stmt_;
};

// One connection and the statements prepared on it; its mutex keeps it to one thread at a time.
struct Connection {
    // Closes once the statements, destroyed after this body, are finalized.
    ~Connection() { sqlite3_close_v2(db); }
    sqlite3 *db = nullptr;
    std::mutex mutex;
    Statement find, recent, insert, bump, update; // the writer's
    Statement version, count, newest, waiting;    // the reader's
};

std::string lasterror(sqlite3 *db)
{
    return sqlite3_errmsg(db);
}

Failure<std::string> dberror(sqlite3 *db)
{
    return failure(lasterror(db));
}

DbStatus exec(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return {};
    std::string error = message ? message : lasterror(db);
    sqlite3_free(message);
    return failure(std::move(error));
}

// Ends a transaction that was not committed.
class Transaction {
public:
    Transaction(sqlite3 *db, const char *begin)
        : db_(db), begun_(exec(db, begin)), open_(begun_.ok())
    {
    }
    ~Transaction()
    {
        if (open_)
            (void)exec(db_, "ROLLBACK");
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    // How the BEGIN went.
    const DbStatus &begun() const { return begun_; }
    DbStatus commit()
    {
        DbStatus committed = exec(db_, "COMMIT");
        // A failed COMMIT leaves the transaction open, to be rolled back.
        open_ = !committed;
        return committed;
    }

private:
    sqlite3 *db_;
    DbStatus begun_;
    bool open_;
};

class SqliteDb : public ShareDb {
public:
    // Writes go through one connection, reads through another: the file is in WAL mode, so a
    // page is read while a submission is written.
    Connection writer;
    Connection reader;

    DbStatus submit(std::vector<SubmitEntry> &entries, Status status, int perHour) override
    {
        const std::lock_guard<std::mutex> lock(writer.mutex);
        // IMMEDIATE: the review commands and other processes wait for the whole batch.
        Transaction transaction(writer.db, "BEGIN IMMEDIATE");
        if (!transaction.begun())
            return transaction.begun();
        bool published = false;
        for (SubmitEntry &entry : entries) {
            if (DbStatus stored = submitone(entry, status, perHour); !stored)
                return stored;
            published = published || (entry.outcome == SubmitEntry::Outcome::Stored &&
                                      status == Status::Approved);
        }
        if (published) {
            if (DbStatus bumped = bumpversion(); !bumped)
                return bumped;
        }
        return transaction.commit();
    }

    DbResult<QList<Submission>> pending() override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        Use query(reader.waiting);
        QList<Submission> rows;
        int step;
        while ((step = query.step()) == SQLITE_ROW) {
            Submission row;
            row.id = query.integer(0);
            row.submitted = query.text(1);
            readrecord(query, 2, row.record);
            rows.append(row);
        }
        if (step != SQLITE_DONE)
            return dberror(reader.db);
        return rows;
    }

    DbResult<PublishedLists> published(int cap) override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        // One snapshot for the count and the lists.
        Transaction transaction(reader.db, "BEGIN");
        if (!transaction.begun())
            return failed(transaction.begun());
        PublishedLists lists;
        {
            Use count(reader.count);
            if (count.step() != SQLITE_ROW)
                return dberror(reader.db);
            lists.total = count.integer(0);
        }
        Use query(reader.newest);
        if (!query.bind(1, std::int64_t(cap)))
            return dberror(reader.db);
        int step;
        while ((step = query.step()) == SQLITE_ROW) {
            SharedRecord record;
            readrecord(query, 0, record);
            lists.records.append(record);
        }
        if (step != SQLITE_DONE)
            return dberror(reader.db);
        return lists;
    }

    DbResult<Change> setstatus(std::int64_t id, Status status) override
    {
        const std::lock_guard<std::mutex> lock(writer.mutex);
        Transaction transaction(writer.db, "BEGIN IMMEDIATE");
        if (!transaction.begun())
            return failed(transaction.begun());
        {
            Use update(writer.update);
            if (!update.bind(1, statusname(status)) || !update.bind(2, id) ||
                update.step() != SQLITE_DONE)
                return dberror(writer.db);
        }
        if (sqlite3_changes(writer.db) == 0)
            return Change::Unknown;
        if (const DbStatus bumped = bumpversion(); !bumped)
            return failed(bumped);
        if (const DbStatus committed = transaction.commit(); !committed)
            return failed(committed);
        return Change::Done;
    }

    // Asked at every page request: an answer without an error allocates nothing.
    DbResult<std::int64_t> pageversion() override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        Use query(reader.version);
        if (query.step() != SQLITE_ROW)
            return dberror(reader.db);
        return query.integer(0);
    }

    bool localversion() const override { return true; }
    bool concurrentwrites() const override { return false; }

private:
    static void readrecord(const Use &query, int first, SharedRecord &record)
    {
        for (int k = 0; k < kRecordColumns; ++k)
            recordvalue(record, k) = query.text(first + k);
    }

    DbStatus submitone(SubmitEntry &entry, Status status, int perHour)
    {
        {
            Use find(writer.find);
            if (!find.bind(1, entry.address) || !find.bind(2, entry.record))
                return dberror(writer.db);
            const int step = find.step();
            if (step == SQLITE_ROW) {
                entry.outcome = SubmitEntry::Outcome::Duplicate;
                entry.id = find.integer(0);
                return {};
            }
            if (step != SQLITE_DONE)
                return dberror(writer.db);
        }
        if (perHour > 0) {
            Use recent(writer.recent);
            if (!recent.bind(1, entry.address) || recent.step() != SQLITE_ROW)
                return dberror(writer.db);
            if (recent.integer(0) >= perHour) {
                entry.outcome = SubmitEntry::Outcome::Limited;
                return {};
            }
        }
        Use insert(writer.insert);
        if (!insert.bind(1, entry.record) || !insert.bind(kRecordColumns + 1, statusname(status)) ||
            !insert.bind(kRecordColumns + 2, entry.address) || insert.step() != SQLITE_DONE)
            return dberror(writer.db);
        entry.outcome = SubmitEntry::Outcome::Stored;
        entry.id = sqlite3_last_insert_rowid(writer.db);
        return {};
    }

    DbStatus bumpversion()
    {
        Use bump(writer.bump);
        if (bump.step() != SQLITE_DONE)
            return dberror(writer.db);
        return {};
    }
};

DbStatus openconnection(const std::string &path, int flags, Connection &connection)
{
    if (sqlite3_open_v2(path.c_str(), &connection.db, flags | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK)
        return failure(connection.db ? lasterror(connection.db) : std::string("out of memory"));
    // Other processes (the review commands, other instances) may hold the file for a moment.
    sqlite3_busy_timeout(connection.db, 5000);
    return {};
}

DbStatus migrate(sqlite3 *db)
{
    // WAL lets the review commands and the page read while a submission is written.
    if (DbStatus wal = exec(db, "PRAGMA journal_mode=WAL"); !wal)
        return wal;
    Transaction transaction(db, "BEGIN IMMEDIATE");
    if (!transaction.begun())
        return transaction.begun();
    if (DbStatus made =
            exec(db, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        !made)
        return made;
    std::int64_t version = 0;
    bool recorded = false;
    {
        Statement statement;
        if (!statement.prepare(db, "SELECT version FROM schema_version"))
            return dberror(db);
        Use query(statement);
        if (query.step() == SQLITE_ROW) {
            version = query.integer(0);
            recorded = true;
        }
    }
    if (version > kSchemaVersion)
        return failure("the database is of a newer version (" + std::to_string(version) + ")");
    for (std::int64_t step = version; step < kSchemaVersion; ++step)
        if (DbStatus stepped = exec(db, kSchemaSteps[step].sqlite); !stepped)
            return stepped;
    if (version != kSchemaVersion) {
        const std::string record = (recorded ? "UPDATE schema_version SET version = "
                                             : "INSERT INTO schema_version VALUES (") +
                                   std::to_string(kSchemaVersion) + (recorded ? "" : ")");
        if (DbStatus noted = exec(db, record.c_str()); !noted)
            return noted;
    }
    return transaction.commit();
}
} // namespace

DbResult<std::unique_ptr<ShareDb>> opensqlite(const std::string &path, bool create)
{
    auto store = std::make_unique<SqliteDb>();
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    DbStatus opened = openconnection(path, flags, store->writer);
    if (opened)
        opened = migrate(store->writer.db);
    if (opened)
        opened = openconnection(path, SQLITE_OPEN_READWRITE, store->reader);
    if (!opened)
        return failed(opened);

    const std::string columns = recordcolumns();
    // The same list is the same in every column, its readings and meanings included.
    const std::string same = samerecord(2, '?');
    std::string values;
    for (int k = 1; k <= kRecordColumns; ++k)
        values += "?" + std::to_string(k) + ", ";
    const std::string status = "?" + std::to_string(kRecordColumns + 1);
    const std::string address = "?" + std::to_string(kRecordColumns + 2);
    Connection &w = store->writer;
    Connection &r = store->reader;
    const struct {
        Connection &connection;
        Statement &statement;
        std::string sql;
    } statements[] = {
        {w, w.find,
         "SELECT id FROM lists WHERE address = ?1 AND status = 'pending' AND " + same + " LIMIT 1"},
        {w, w.recent,
         "SELECT count(*) FROM lists WHERE address = ?1"
         " AND submitted >= datetime('now', '-1 hour')"},
        {w, w.insert,
         "INSERT INTO lists (" + columns + ", status, address, reviewed) VALUES (" + values +
             status + ", " + address + ", CASE WHEN " + status +
             " = 'pending' THEN NULL ELSE datetime('now') END)"},
        {w, w.bump, "UPDATE page_version SET version = version + 1"},
        {w, w.update, "UPDATE lists SET status = ?1, reviewed = datetime('now') WHERE id = ?2"},
        {r, r.version, "SELECT version FROM page_version"},
        {r, r.count, "SELECT count(*) FROM lists WHERE status = 'approved'"},
        {r, r.newest,
         "SELECT " + columns + " FROM lists WHERE status = 'approved' ORDER BY id DESC LIMIT ?1"},
        {r, r.waiting,
         "SELECT id, submitted, " + columns + " FROM lists WHERE status = 'pending' ORDER BY id"},
    };
    for (const auto &statement : statements)
        if (!statement.statement.prepare(statement.connection.db, statement.sql.c_str()))
            return dberror(statement.connection.db);
    return std::unique_ptr<ShareDb>(std::move(store));
}
