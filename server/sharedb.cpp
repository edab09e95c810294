#include "sharedb.h"

#include <sqlite3.h>

namespace {
const char *statusname(ShareDb::Status status)
{
    switch (status) {
    case ShareDb::Status::Pending:
        return "pending";
    case ShareDb::Status::Approved:
        return "approved";
    case ShareDb::Status::Rejected:
        return "rejected";
    }
    return "pending";
}

// A prepared statement, finalized however the caller leaves.
class Statement {
public:
    Statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt *get() const { return stmt_; }

    bool bind(int index, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        return sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    bool bind(int index, const char *text)
    {
        return sqlite3_bind_text(stmt_, index, text, -1, SQLITE_STATIC) == SQLITE_OK;
    }
    bool bind(int index, std::int64_t value)
    {
        return sqlite3_bind_int64(stmt_, index, value) == SQLITE_OK;
    }
    QString text(int column) const
    {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
        return QString::fromUtf8(bytes, sqlite3_column_bytes(stmt_, column));
    }

private:
    sqlite3_stmt *stmt_ = nullptr;
};

std::string lasterror(sqlite3 *db)
{
    return sqlite3_errmsg(db);
}
} // namespace

std::unique_ptr<ShareDb> ShareDb::open(const std::string &path, bool create, std::string &error)
{
    sqlite3 *db = nullptr;
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        error = db ? lasterror(db) : "out of memory";
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<ShareDb> store(new ShareDb(db));
    // The review commands may run beside the service: WAL lets them read while it writes, and
    // a writer waits for a moment instead of failing at once.
    sqlite3_busy_timeout(db, 5000);
    static const char schema[] = "PRAGMA journal_mode=WAL;"
                                 "CREATE TABLE IF NOT EXISTS lists ("
                                 " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                                 " title TEXT NOT NULL,"
                                 " w1 TEXT NOT NULL, w2 TEXT NOT NULL, w3 TEXT NOT NULL,"
                                 " w4 TEXT NOT NULL, w5 TEXT NOT NULL, w6 TEXT NOT NULL,"
                                 " w7 TEXT NOT NULL, w8 TEXT NOT NULL, w9 TEXT NOT NULL,"
                                 " publisher TEXT NOT NULL,"
                                 " status TEXT NOT NULL DEFAULT 'pending'"
                                 "  CHECK (status IN ('pending', 'approved', 'rejected')),"
                                 " submitted TEXT NOT NULL DEFAULT (datetime('now')),"
                                 " reviewed TEXT);"
                                 "CREATE INDEX IF NOT EXISTS lists_status ON lists (status, id);";
    char *message = nullptr;
    if (sqlite3_exec(db, schema, nullptr, nullptr, &message) != SQLITE_OK) {
        error = message ? message : lasterror(db);
        sqlite3_free(message);
        return nullptr;
    }
    return store;
}

ShareDb::~ShareDb()
{
    sqlite3_close(db_);
}

std::optional<std::int64_t> ShareDb::add(const SharedRecord &record, Status status,
                                         std::string &error)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    Statement insert(db_, "INSERT INTO lists (title, w1, w2, w3, w4, w5, w6, w7, w8, w9,"
                          " publisher, status, reviewed) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8,"
                          " ?9, ?10, ?11, ?12, CASE WHEN ?12 = 'pending' THEN NULL"
                          " ELSE datetime('now') END)");
    bool bound = insert && insert.bind(1, record.list.title);
    for (int k = 0; k < 9 && bound; ++k)
        bound = insert.bind(2 + k, record.list.words[k]);
    bound = bound && insert.bind(11, record.publisher) && insert.bind(12, statusname(status));
    if (!bound || sqlite3_step(insert.get()) != SQLITE_DONE) {
        error = lasterror(db_);
        return std::nullopt;
    }
    return sqlite3_last_insert_rowid(db_);
}

std::optional<QList<Submission>> ShareDb::select(Status status, bool newestFirst,
                                                 std::string &error)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    Statement query(db_, newestFirst
                             ? "SELECT id, submitted, title, w1, w2, w3, w4, w5, w6, w7, w8, w9,"
                               " publisher FROM lists WHERE status = ?1 ORDER BY id DESC"
                             : "SELECT id, submitted, title, w1, w2, w3, w4, w5, w6, w7, w8, w9,"
                               " publisher FROM lists WHERE status = ?1 ORDER BY id");
    if (!query || !query.bind(1, statusname(status))) {
        error = lasterror(db_);
        return std::nullopt;
    }
    QList<Submission> rows;
    int step;
    while ((step = sqlite3_step(query.get())) == SQLITE_ROW) {
        Submission row;
        row.id = sqlite3_column_int64(query.get(), 0);
        row.submitted = query.text(1);
        row.record.list.title = query.text(2);
        for (int k = 0; k < 9; ++k)
            row.record.list.words[k] = query.text(3 + k);
        row.record.publisher = query.text(12);
        rows.append(row);
    }
    if (step != SQLITE_DONE) {
        error = lasterror(db_);
        return std::nullopt;
    }
    return rows;
}

std::optional<QList<Submission>> ShareDb::pending(std::string &error)
{
    return select(Status::Pending, false, error);
}

std::optional<QList<SharedRecord>> ShareDb::published(std::string &error)
{
    const std::optional<QList<Submission>> rows = select(Status::Approved, true, error);
    if (!rows)
        return std::nullopt;
    QList<SharedRecord> records;
    records.reserve(rows->size());
    for (const Submission &row : *rows)
        records.append(row.record);
    return records;
}

ShareDb::Change ShareDb::setstatus(std::int64_t id, Status status, std::string &error)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    Statement update(db_, "UPDATE lists SET status = ?1, reviewed = datetime('now') WHERE id = ?2");
    if (!update || !update.bind(1, statusname(status)) || !update.bind(2, id) ||
        sqlite3_step(update.get()) != SQLITE_DONE) {
        error = lasterror(db_);
        return Change::Failed;
    }
    return sqlite3_changes(db_) > 0 ? Change::Done : Change::Unknown;
}
