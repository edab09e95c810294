// The store in a PostgreSQL database, which several instances of the service may share.
#include "shareschema.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

namespace {
// Advisory locks of this service carry this first key: one for the layout, one per client
// address while its submissions are checked and stored under a rate limit.
constexpr int kLockSpace = 0x5641;
// And this one, with a hash of the address and the list, while one submission is checked and
// stored: the duplicate check holds across parallel writers and instances.
constexpr int kRecordLockSpace = 0x5642;

struct RowsFree {
    void operator()(PGresult *result) const { PQclear(result); }
};
using Rows = std::unique_ptr<PGresult, RowsFree>;

const char timenow[] = "to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS')";

// A statement prepared once on each connection that uses it.
struct Prepared {
    const char *name;
    std::string sql;
};

std::string trimmed(std::string error)
{
    while (!error.empty() && error.back() == '\n')
        error.pop_back();
    return error;
}

// One connection, made again when it was lost, with the statements it prepared since. Used by
// one thread at a time: the reader's behind its mutex, a writer's while leased from the pool.
class Connection {
public:
    explicit Connection(std::string uri, const std::vector<Prepared> *statements = nullptr)
        : uri_(std::move(uri)), statements_(statements)
    {
    }
    ~Connection() { PQfinish(conn_); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    std::mutex mutex;

    DbStatus ready()
    {
        if (conn_ && PQstatus(conn_) == CONNECTION_OK)
            return {};
        prepared_ = false;
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

    // ready(), then the statements prepared, which needs the tables made.
    DbStatus readyprepared()
    {
        if (DbStatus up = ready(); !up)
            return up;
        if (prepared_ || !statements_)
            return {};
        for (const Prepared &statement : *statements_)
            if (const DbResult<Rows> made = checked(
                    Rows(PQprepare(conn_, statement.name, statement.sql.c_str(), 0, nullptr)));
                !made) {
                // Some may be prepared: the next try starts on a new connection.
                drop();
                return failed(made);
            }
        prepared_ = true;
        return {};
    }

    // Forgets a connection left in a state nobody knows (a broken pipeline): the next ready()
    // makes a new one.
    void drop()
    {
        PQfinish(conn_);
        conn_ = nullptr;
        prepared_ = false;
    }

    PGconn *get() const { return conn_; }

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

    DbResult<Rows> checked(Rows result)
    {
        const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            return result;
        return failure(
            trimmed(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn_)));
    }

private:
    std::string uri_;
    const std::vector<Prepared> *statements_;
    PGconn *conn_ = nullptr;
    bool prepared_ = false;
};

// Statements sent together and answered together: one round trip for a whole batch. A
// statement that fails makes the server skip the rest up to the sync; its message is the
// batch's. A connection left mid-way (lost, or out of step) is dropped.
class Pipeline {
public:
    explicit Pipeline(Connection &connection) : connection_(connection)
    {
        entered_ = PQenterPipelineMode(connection.get()) == 1;
    }
    ~Pipeline()
    {
        if (!clean_ || (entered_ && PQexitPipelineMode(connection_.get()) != 1))
            connection_.drop();
    }
    Pipeline(const Pipeline &) = delete;
    Pipeline &operator=(const Pipeline &) = delete;

    // A prepared statement, or (name null) SQL without parameters.
    void send(const char *prepared, const std::vector<std::string> &params = {},
              const char *sql = nullptr)
    {
        ++queued_;
        if (!entered_ || !unsent_.empty())
            return;
        std::vector<const char *> values;
        std::vector<int> lengths;
        for (const std::string &param : params) {
            values.push_back(param.c_str());
            lengths.push_back(int(param.size()));
        }
        PGconn *conn = connection_.get();
        const int sent =
            prepared ? PQsendQueryPrepared(conn, prepared, int(params.size()), values.data(),
                                           lengths.data(), nullptr, 0)
                     : PQsendQueryParams(conn, sql, 0, nullptr, nullptr, nullptr, nullptr, 0);
        if (sent != 1)
            unsent_ = trimmed(PQerrorMessage(conn));
    }
    void sendsql(const char *sql) { send(nullptr, {}, sql); }

    // Sends what was queued and reads every answer, in order.
    DbResult<std::vector<Rows>> sync()
    {
        clean_ = false;
        if (!entered_)
            return failure(trimmed(PQerrorMessage(connection_.get())));
        if (!unsent_.empty())
            return failure(unsent_);
        PGconn *conn = connection_.get();
        if (PQpipelineSync(conn) != 1)
            return failure(trimmed(PQerrorMessage(conn)));
        std::vector<Rows> answers;
        std::string error;
        for (int k = 0; k < queued_; ++k) {
            Rows answer(PQgetResult(conn));
            if (!answer)
                return failure(trimmed(PQerrorMessage(conn)));
            const ExecStatusType status = PQresultStatus(answer.get());
            if (status == PGRES_FATAL_ERROR && error.empty())
                error = trimmed(PQresultErrorMessage(answer.get()));
            else if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK &&
                     status != PGRES_PIPELINE_ABORTED && error.empty())
                error = "unexpected answer: " + std::string(PQresStatus(status));
            answers.push_back(std::move(answer));
            // Each statement's answers end with a null.
            if (Rows extra(PQgetResult(conn)); extra)
                return failure(std::string("unexpected answer in a pipeline"));
        }
        queued_ = 0;
        const Rows synced(PQgetResult(conn));
        if (!synced || PQresultStatus(synced.get()) != PGRES_PIPELINE_SYNC)
            return failure(trimmed(PQerrorMessage(conn)));
        clean_ = true;
        if (!error.empty())
            return failure(std::move(error));
        return answers;
    }

private:
    Connection &connection_;
    bool entered_ = false;
    bool clean_ = true;
    int queued_ = 0;
    std::string unsent_;
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

// The key of a submission's lock: a hash (FNV-1a) of its address and every text, the same in
// every build and on every machine. Two submissions that share it only wait for each other.
std::int32_t recordkey(const SubmitEntry &entry)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    const auto mix = [&hash](const std::string &bytes) {
        for (const char c : bytes)
            hash = (hash ^ std::uint8_t(c)) * 0x100000001b3u;
        hash = (hash ^ 0x1fu) * 0x100000001b3u;
    };
    mix(entry.address);
    for (int k = 0; k < kRecordColumns; ++k)
        mix(utf8(recordvalue(entry.record, k)));
    return std::int32_t(std::uint32_t(hash ^ (hash >> 32)));
}

// An array parameter in PostgreSQL's text form, its elements in order.
std::string arrayliteral(const std::set<std::string> &texts)
{
    std::string array = "{";
    for (const std::string &text : texts) {
        array += array.size() > 1 ? ",\"" : "\"";
        for (const char c : text) {
            if (c == '"' || c == '\\')
                array += '\\';
            array += c;
        }
        array += '"';
    }
    return array + "}";
}

std::string arrayliteral(const std::set<std::int32_t> &numbers)
{
    std::string array = "{";
    for (const std::int32_t number : numbers)
        array += (array.size() > 1 ? "," : "") + std::to_string(number);
    return array + "}";
}

// One submission checked and stored in one statement, which answers its outcome and id: 0 stored,
// 1 the same list is pending from the same address (its id), 2 over the limit. $1 is the address,
// $2 .. $30 the record, $31 the status, $32 (limited only) the submissions allowed an hour.
std::string submitsql(bool limited)
{
    const std::string status = "$" + std::to_string(kRecordColumns + 2) + "::text";
    std::string values = "$1";
    for (int k = 2; k <= kRecordColumns + 1; ++k)
        values += ", $" + std::to_string(k);
    // The same list is the same in every column, its readings and meanings included.
    std::string sql = "WITH same AS (SELECT id FROM lists WHERE address = $1 AND status = 'pending'"
                      " AND " +
                      samerecord(2, '$') + " LIMIT 1)";
    if (limited)
        sql += ", over AS (SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM same) AND (SELECT count(*)"
               " FROM lists WHERE address = $1 AND submitted >= to_char(now() AT TIME ZONE 'UTC'"
               " - interval '1 hour', 'YYYY-MM-DD HH24:MI:SS')) >= $" +
               std::to_string(kRecordColumns + 3) + "::bigint)";
    const std::string reviewed =
        "CASE WHEN " + status + " = 'pending' THEN NULL ELSE " + timenow + " END";
    sql += ", stored AS (INSERT INTO lists (address, " + recordcolumns() + ", status, reviewed)";
    sql += " SELECT " + values + ", " + status + ", " + reviewed;
    sql += " WHERE NOT EXISTS (SELECT 1 FROM same)";
    if (limited)
        sql += " AND NOT EXISTS (SELECT 1 FROM over)";
    sql += " RETURNING id) SELECT 0, id FROM stored UNION ALL SELECT 1, id FROM same";
    if (limited)
        sql += " UNION ALL SELECT 2, 0 FROM over";
    return sql;
}

// What the writers prepare on each of their connections.
std::vector<Prepared> writerstatements()
{
    return {
        // Each takes its locks in the order of the array, which the writer sorts.
        {"lock_addresses", "SELECT pg_advisory_xact_lock(" + std::to_string(kLockSpace) +
                               ", hashtext(a)) FROM unnest($1::text[]) AS a"},
        {"lock_records", "SELECT pg_advisory_xact_lock(" + std::to_string(kRecordLockSpace) +
                             ", k) FROM unnest($1::integer[]) AS k"},
        {"submit", submitsql(false)},
        {"submit_limited", submitsql(true)},
        {"bump", "UPDATE page_version SET version = version + 1"},
    };
}

// The writers' connections: one for each call under way, kept for the next.
class WriterPool {
public:
    explicit WriterPool(std::string uri) : uri_(std::move(uri)), statements_(writerstatements()) {}

    class Lease {
    public:
        Lease(WriterPool &pool, std::unique_ptr<Connection> connection)
            : pool_(pool), connection_(std::move(connection))
        {
        }
        ~Lease()
        {
            const std::lock_guard<std::mutex> lock(pool_.mutex_);
            pool_.idle_.push_back(std::move(connection_));
        }
        Lease(const Lease &) = delete;
        Lease &operator=(const Lease &) = delete;
        Connection &operator*() const { return *connection_; }
        Connection *operator->() const { return connection_.get(); }

    private:
        WriterPool &pool_;
        std::unique_ptr<Connection> connection_;
    };

    Lease take()
    {
        std::unique_ptr<Connection> connection;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (!idle_.empty()) {
                connection = std::move(idle_.back());
                idle_.pop_back();
            }
        }
        if (!connection)
            connection = std::make_unique<Connection>(uri_, &statements_);
        return Lease(*this, std::move(connection));
    }

private:
    std::string uri_;
    const std::vector<Prepared> statements_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

bool committed(const Rows &answer)
{
    return std::strcmp(PQcmdStatus(answer.get()), "COMMIT") == 0;
}

class PostgresDb : public ShareDb {
public:
    explicit PostgresDb(const std::string &uri) : writers(uri), reader(uri) {}

    // Writes go through connections of their own, as many as there are writers at once, and
    // reads through another, so that a page is read while submissions are written.
    WriterPool writers;
    Connection reader;

    DbStatus migrate()
    {
        const WriterPool::Lease writer = writers.take();
        Transaction transaction(*writer, "BEGIN");
        if (!transaction.begun())
            return transaction.begun();
        // Instances that start together take turns.
        const std::string lock_sql =
            "SELECT pg_advisory_xact_lock(" + std::to_string(kLockSpace) + ", 0)";
        if (const DbResult<Rows> locked = writer->run(lock_sql.c_str()); !locked)
            return failed(locked);
        if (const DbResult<Rows> made =
                writer->run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
            !made)
            return failed(made);
        const DbResult<Rows> current = writer->run("SELECT version FROM schema_version");
        if (!current)
            return failed(current);
        const bool recorded = PQntuples(current->get()) > 0;
        const std::int64_t version = recorded ? integer(current->get(), 0, 0) : 0;
        if (version > kSchemaVersion)
            return failure("the database is of a newer version (" + std::to_string(version) + ")");
        for (std::int64_t step = version; step < kSchemaVersion; ++step)
            if (const DbResult<Rows> stepped = writer->run(kSchemaSteps[step].postgresql); !stepped)
                return failed(stepped);
        if (version != kSchemaVersion) {
            const std::string record = (recorded ? "UPDATE schema_version SET version = "
                                                 : "INSERT INTO schema_version VALUES (") +
                                       std::to_string(kSchemaVersion) + (recorded ? "" : ")");
            if (const DbResult<Rows> noted = writer->run(record.c_str()); !noted)
                return failed(noted);
        }
        return transaction.commit();
    }

    DbStatus submit(std::vector<SubmitEntry> &entries, Status status, int perHour) override
    {
        const WriterPool::Lease writer = writers.take();
        if (DbStatus up = writer->readyprepared(); !up)
            return up;
        DbStatus stored = store(*writer, entries, status, perHour);
        if (!stored) {
            // A transaction left open by a failed statement is ended; a connection in no known
            // state is made again.
            PGconn *conn = writer->get();
            if (conn && PQtransactionStatus(conn) != PQTRANS_IDLE &&
                (PQtransactionStatus(conn) == PQTRANS_UNKNOWN || !writer->run("ROLLBACK")))
                writer->drop();
        }
        return stored;
    }

    bool concurrentwrites() const override { return true; }

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
        const WriterPool::Lease writer = writers.take();
        Transaction transaction(*writer, "BEGIN");
        if (!transaction.begun())
            return failed(transaction.begun());
        const std::string sql =
            std::string("UPDATE lists SET status = $1, reviewed = ") + timenow + " WHERE id = $2";
        const DbResult<Rows> update =
            writer->run(sql.c_str(), {statusname(status), std::to_string(id)});
        if (!update)
            return failed(update);
        if (std::strtoll(PQcmdTuples(update->get()), nullptr, 10) == 0)
            return Change::Unknown;
        if (const DbResult<Rows> bumped =
                writer->run("UPDATE page_version SET version = version + 1");
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
    // The batch in one transaction, its statements pipelined: pending lists in one round trip
    // with their commit, published ones in two, so that the page's version, which every writer
    // changes, is locked only for the commit.
    static DbStatus store(Connection &writer, std::vector<SubmitEntry> &entries, Status status,
                          int perHour)
    {
        const bool publishing = status == Status::Approved;
        std::size_t first = 1;
        DbResult<std::vector<Rows>> answers = std::vector<Rows>();
        {
            Pipeline pipeline(writer);
            pipeline.sendsql("BEGIN");
            // Under a limit, instances check and store one address at a time, always in the
            // same order; else only the same list from the same address waits for another.
            // Address locks before list locks, each in order, so that no two batches wait for
            // each other.
            if (perHour > 0) {
                std::set<std::string> addresses;
                for (const SubmitEntry &entry : entries)
                    addresses.insert(entry.address);
                pipeline.send("lock_addresses", {arrayliteral(addresses)});
                ++first;
            }
            std::set<std::int32_t> keys;
            for (const SubmitEntry &entry : entries)
                keys.insert(recordkey(entry));
            pipeline.send("lock_records", {arrayliteral(keys)});
            ++first;
            const std::string limit = std::to_string(perHour);
            for (const SubmitEntry &entry : entries) {
                std::vector<std::string> params = recordparams(entry);
                params.push_back(statusname(status));
                if (perHour > 0)
                    params.push_back(limit);
                pipeline.send(perHour > 0 ? "submit_limited" : "submit", params);
            }
            if (!publishing)
                pipeline.sendsql("COMMIT");
            answers = pipeline.sync();
        }
        if (!answers)
            return failed(answers);
        bool stored = false;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const PGresult *answer = (*answers)[first + k].get();
            if (PQntuples(answer) != 1)
                return failure(std::string("a submission without an outcome"));
            const std::int64_t outcome = integer(answer, 0, 0);
            entries[k].outcome = outcome == 0   ? SubmitEntry::Outcome::Stored
                                 : outcome == 1 ? SubmitEntry::Outcome::Duplicate
                                                : SubmitEntry::Outcome::Limited;
            entries[k].id = integer(answer, 0, 1);
            stored = stored || outcome == 0;
        }
        if (!publishing)
            return committed(answers->back()) ? DbStatus()
                                              : failure(std::string("the batch was rolled back"));
        Pipeline pipeline(writer);
        if (stored)
            pipeline.send("bump");
        pipeline.sendsql("COMMIT");
        const DbResult<std::vector<Rows>> ended = pipeline.sync();
        if (!ended)
            return failed(ended);
        return committed(ended->back()) ? DbStatus()
                                        : failure(std::string("the batch was rolled back"));
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
