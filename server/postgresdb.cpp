// The store in a PostgreSQL database, which several instances of the service may share.
#include "shareschema.h"

#include <libpq-fe.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

namespace {
// Advisory locks of this service carry this first key: one for the layout, one per client
// address while its submissions are checked and stored.
constexpr int kLockSpace = 0x5641;

struct RowsFree {
    void operator()(PGresult *result) const { PQclear(result); }
};
using Rows = std::unique_ptr<PGresult, RowsFree>;

const char timenow[] = "to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS')";

// One connection, made again when it was lost; its mutex keeps it to one thread at a time.
class Connection {
public:
    explicit Connection(std::string uri) : uri_(std::move(uri)) {}
    ~Connection() { PQfinish(conn_); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    std::mutex mutex;

    DbStatus ready()
    {
        if (conn_ && PQstatus(conn_) == CONNECTION_OK)
            return {};
        if (conn_)
            PQreset(conn_);
        else
            conn_ = PQconnectdb(uri_.c_str());
        if (PQstatus(conn_) == CONNECTION_OK) {
            // Stored texts are compared and returned as UTF-8 whatever the server's default.
            PQsetClientEncoding(conn_, "UTF8");
            return {};
        }
        return failure(std::string(PQerrorMessage(conn_)));
    }

    // A statement with text parameters; its rows unless it failed.
    DbResult<Rows> run(const char *sql, const std::vector<std::string> &params)
    {
        std::vector<const char *> values;
        std::vector<int> lengths;
        for (const std::string &param : params) {
            values.push_back(param.c_str());
            lengths.push_back(int(param.size()));
        }
        return checked(Rows(PQexecParams(conn_, sql, int(params.size()), nullptr, values.data(),
                                         lengths.data(), nullptr, 0)));
    }
    // Statements without parameters, several allowed.
    DbResult<Rows> run(const char *sql) { return checked(Rows(PQexec(conn_, sql))); }

private:
    DbResult<Rows> checked(Rows result)
    {
        const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            return result;
        std::string error = result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn_);
        while (!error.empty() && error.back() == '\n')
            error.pop_back();
        return failure(std::move(error));
    }

    std::string uri_;
    PGconn *conn_ = nullptr;
};

// Ends a transaction that was not committed.
class Transaction {
public:
    Transaction(Connection &connection, const char *begin)
        : connection_(connection), begun_(start(connection, begin)), open_(begun_.ok())
    {
    }
    ~Transaction()
    {
        if (open_)
            (void)connection_.run("ROLLBACK");
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    // How the connection and the BEGIN went.
    const DbStatus &begun() const { return begun_; }
    DbStatus commit()
    {
        const DbResult<Rows> committed = connection_.run("COMMIT");
        open_ = !committed;
        if (!committed)
            return failed(committed);
        return {};
    }

private:
    static DbStatus start(Connection &connection, const char *begin)
    {
        if (DbStatus ready = connection.ready(); !ready)
            return ready;
        if (const DbResult<Rows> begun = connection.run(begin); !begun)
            return failed(begun);
        return {};
    }

    Connection &connection_;
    DbStatus begun_;
    bool open_;
};

std::string utf8(const QString &text)
{
    return text.toStdString();
}

QString text(const PGresult *result, int row, int column)
{
    return utf8text(
        QByteArrayView(PQgetvalue(result, row, column), PQgetlength(result, row, column)));
}

std::int64_t integer(const PGresult *result, int row, int column)
{
    return std::strtoll(PQgetvalue(result, row, column), nullptr, 10);
}

void readrecord(const PGresult *result, int row, int first, SharedRecord &record)
{
    for (int k = 0; k < kRecordColumns; ++k)
        recordvalue(record, k) = text(result, row, first + k);
}

// The parameters: the address, then the record's columns.
std::vector<std::string> recordparams(const SubmitEntry &entry)
{
    std::vector<std::string> params{entry.address};
    for (int k = 0; k < kRecordColumns; ++k)
        params.push_back(utf8(recordvalue(entry.record, k)));
    return params;
}

class PostgresDb : public ShareDb {
public:
    explicit PostgresDb(const std::string &uri) : writer(uri), reader(uri) {}

    // Writes and reads on connections of their own, so that a page is read while a submission
    // is written.
    Connection writer;
    Connection reader;

    DbStatus migrate()
    {
        const std::lock_guard<std::mutex> lock(writer.mutex);
        Transaction transaction(writer, "BEGIN");
        if (!transaction.begun())
            return transaction.begun();
        // Instances that start together take turns.
        const std::string lock_sql =
            "SELECT pg_advisory_xact_lock(" + std::to_string(kLockSpace) + ", 0)";
        if (const DbResult<Rows> locked = writer.run(lock_sql.c_str()); !locked)
            return failed(locked);
        if (const DbResult<Rows> made =
                writer.run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
            !made)
            return failed(made);
        const DbResult<Rows> current = writer.run("SELECT version FROM schema_version");
        if (!current)
            return failed(current);
        const bool recorded = PQntuples(current->get()) > 0;
        const std::int64_t version = recorded ? integer(current->get(), 0, 0) : 0;
        if (version > kSchemaVersion)
            return failure("the database is of a newer version (" + std::to_string(version) + ")");
        for (std::int64_t step = version; step < kSchemaVersion; ++step)
            if (const DbResult<Rows> stepped = writer.run(kSchemaSteps[step].postgresql); !stepped)
                return failed(stepped);
        if (version != kSchemaVersion) {
            const std::string record = (recorded ? "UPDATE schema_version SET version = "
                                                 : "INSERT INTO schema_version VALUES (") +
                                       std::to_string(kSchemaVersion) + (recorded ? "" : ")");
            if (const DbResult<Rows> noted = writer.run(record.c_str()); !noted)
                return failed(noted);
        }
        return transaction.commit();
    }

    DbStatus submit(std::vector<SubmitEntry> &entries, Status status, int perHour) override
    {
        const std::lock_guard<std::mutex> lock(writer.mutex);
        Transaction transaction(writer, "BEGIN");
        if (!transaction.begun())
            return transaction.begun();
        // Instances check and store one address at a time, always in the same order.
        std::set<std::string> addresses;
        for (const SubmitEntry &entry : entries)
            addresses.insert(entry.address);
        const std::string lock_sql =
            "SELECT pg_advisory_xact_lock(" + std::to_string(kLockSpace) + ", hashtext($1))";
        for (const std::string &address : addresses)
            if (const DbResult<Rows> locked = writer.run(lock_sql.c_str(), {address}); !locked)
                return failed(locked);

        bool published = false;
        for (SubmitEntry &entry : entries) {
            if (DbStatus stored = submitone(entry, status, perHour); !stored)
                return stored;
            published = published || (entry.outcome == SubmitEntry::Outcome::Stored &&
                                      status == Status::Approved);
        }
        if (published) {
            if (const DbResult<Rows> bumped =
                    writer.run("UPDATE page_version SET version = version + 1");
                !bumped)
                return failed(bumped);
        }
        return transaction.commit();
    }

    DbResult<QList<Submission>> pending() override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        if (const DbStatus ready = reader.ready(); !ready)
            return failed(ready);
        const std::string sql = "SELECT id, submitted, " + recordcolumns() +
                                " FROM lists WHERE status = 'pending' ORDER BY id";
        const DbResult<Rows> rows = reader.run(sql.c_str());
        if (!rows)
            return failed(rows);
        const PGresult *table = rows->get();
        QList<Submission> submissions;
        for (int row = 0; row < PQntuples(table); ++row) {
            Submission submission;
            submission.id = integer(table, row, 0);
            submission.submitted = text(table, row, 1);
            readrecord(table, row, 2, submission.record);
            submissions.append(submission);
        }
        return submissions;
    }

    DbResult<PublishedLists> published(int cap) override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        // One snapshot for the count and the lists.
        Transaction transaction(reader, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
        if (!transaction.begun())
            return failed(transaction.begun());
        const DbResult<Rows> count =
            reader.run("SELECT count(*) FROM lists WHERE status = 'approved'");
        if (!count)
            return failed(count);
        const std::string sql = "SELECT " + recordcolumns() +
                                " FROM lists WHERE status = 'approved' ORDER BY id DESC LIMIT $1";
        const DbResult<Rows> rows = reader.run(sql.c_str(), {std::to_string(cap)});
        if (!rows)
            return failed(rows);
        if (const DbStatus committed = transaction.commit(); !committed)
            return failed(committed);
        const PGresult *table = rows->get();
        PublishedLists lists;
        lists.total = integer(count->get(), 0, 0);
        for (int row = 0; row < PQntuples(table); ++row) {
            SharedRecord record;
            readrecord(table, row, 0, record);
            lists.records.append(record);
        }
        return lists;
    }

    DbResult<Change> setstatus(std::int64_t id, Status status) override
    {
        const std::lock_guard<std::mutex> lock(writer.mutex);
        Transaction transaction(writer, "BEGIN");
        if (!transaction.begun())
            return failed(transaction.begun());
        const std::string sql =
            std::string("UPDATE lists SET status = $1, reviewed = ") + timenow + " WHERE id = $2";
        const DbResult<Rows> update =
            writer.run(sql.c_str(), {statusname(status), std::to_string(id)});
        if (!update)
            return failed(update);
        if (std::strtoll(PQcmdTuples(update->get()), nullptr, 10) == 0)
            return Change::Unknown;
        if (const DbResult<Rows> bumped =
                writer.run("UPDATE page_version SET version = version + 1");
            !bumped)
            return failed(bumped);
        if (const DbStatus committed = transaction.commit(); !committed)
            return failed(committed);
        return Change::Done;
    }

    DbResult<std::int64_t> pageversion() override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        if (const DbStatus ready = reader.ready(); !ready)
            return failed(ready);
        const DbResult<Rows> version = reader.run("SELECT version FROM page_version");
        if (!version)
            return failed(version);
        if (PQntuples(version->get()) != 1)
            return failure(std::string("page_version holds no row"));
        return integer(version->get(), 0, 0);
    }

    bool localversion() const override { return false; }

private:
    DbStatus submitone(SubmitEntry &entry, Status status, int perHour)
    {
        std::vector<std::string> params = recordparams(entry);
        // The same list is the same in every column, its readings and meanings included.
        const std::string find = "SELECT id FROM lists WHERE address = $1 AND status = 'pending'"
                                 " AND " +
                                 samerecord(2, '$') + " LIMIT 1";
        const DbResult<Rows> same = writer.run(find.c_str(), params);
        if (!same)
            return failed(same);
        if (PQntuples(same->get()) > 0) {
            entry.outcome = SubmitEntry::Outcome::Duplicate;
            entry.id = integer(same->get(), 0, 0);
            return {};
        }
        if (perHour > 0) {
            const DbResult<Rows> recent = writer.run(
                "SELECT count(*) FROM lists WHERE address = $1 AND submitted >= "
                "to_char(now() AT TIME ZONE 'UTC' - interval '1 hour', 'YYYY-MM-DD HH24:MI:SS')",
                {entry.address});
            if (!recent)
                return failed(recent);
            if (integer(recent->get(), 0, 0) >= perHour) {
                entry.outcome = SubmitEntry::Outcome::Limited;
                return {};
            }
        }
        params.push_back(statusname(status));
        std::string values;
        for (int k = 1; k <= kRecordColumns + 1; ++k)
            values += "$" + std::to_string(k) + ", ";
        const std::string given = "$" + std::to_string(kRecordColumns + 2);
        const std::string sql = "INSERT INTO lists (address, " + recordcolumns() +
                                ", status, reviewed) VALUES (" + values + given + ", CASE WHEN " +
                                given + " = 'pending' THEN NULL ELSE " + timenow +
                                " END) RETURNING id";
        const DbResult<Rows> inserted = writer.run(sql.c_str(), params);
        if (!inserted)
            return failed(inserted);
        entry.outcome = SubmitEntry::Outcome::Stored;
        entry.id = integer(inserted->get(), 0, 0);
        return {};
    }
};
} // namespace

DbResult<std::unique_ptr<ShareDb>> openpostgresql(const std::string &uri)
{
    auto store = std::make_unique<PostgresDb>(uri);
    {
        const std::lock_guard<std::mutex> lock(store->reader.mutex);
        if (const DbStatus ready = store->reader.ready(); !ready)
            return failed(ready);
    }
    if (const DbStatus migrated = store->migrate(); !migrated)
        return failed(migrated);
    return std::unique_ptr<ShareDb>(std::move(store));
}
