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

struct ResultFree {
    void operator()(PGresult *result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

const char timenow[] = "to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS')";

// One connection, made again when it was lost; its mutex keeps it to one thread at a time.
class Connection {
public:
    explicit Connection(std::string uri) : uri_(std::move(uri)) {}
    ~Connection() { PQfinish(conn_); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    std::mutex mutex;

    bool ready(std::string &error)
    {
        if (conn_ && PQstatus(conn_) == CONNECTION_OK)
            return true;
        if (conn_)
            PQreset(conn_);
        else
            conn_ = PQconnectdb(uri_.c_str());
        if (PQstatus(conn_) == CONNECTION_OK) {
            // Stored texts are compared and returned as UTF-8 whatever the server's default.
            PQsetClientEncoding(conn_, "UTF8");
            return true;
        }
        error = PQerrorMessage(conn_);
        return false;
    }

    // A statement with text parameters; none (error set) unless it succeeded.
    Result run(const char *sql, const std::vector<std::string> &params, std::string &error)
    {
        std::vector<const char *> values;
        std::vector<int> lengths;
        for (const std::string &param : params) {
            values.push_back(param.c_str());
            lengths.push_back(int(param.size()));
        }
        Result result(PQexecParams(conn_, sql, int(params.size()), nullptr, values.data(),
                                   lengths.data(), nullptr, 0));
        return checked(std::move(result), error);
    }
    // Statements without parameters, several allowed.
    Result run(const char *sql, std::string &error)
    {
        return checked(Result(PQexec(conn_, sql)), error);
    }

private:
    Result checked(Result result, std::string &error)
    {
        const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            return result;
        error = result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn_);
        while (!error.empty() && error.back() == '\n')
            error.pop_back();
        return nullptr;
    }

    std::string uri_;
    PGconn *conn_ = nullptr;
};

// Ends a transaction that was not committed.
class Transaction {
public:
    Transaction(Connection &connection, const char *begin, std::string &error)
        : connection_(connection)
    {
        open_ = connection.ready(error) && connection.run(begin, error);
    }
    ~Transaction()
    {
        if (open_) {
            std::string ignored;
            connection_.run("ROLLBACK", ignored);
        }
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    explicit operator bool() const { return open_; }
    bool commit(std::string &error)
    {
        open_ = !connection_.run("COMMIT", error);
        return !open_;
    }

private:
    Connection &connection_;
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
    record.list.title = text(result, row, first);
    for (int k = 0; k < 9; ++k)
        record.list.words[k].text = text(result, row, first + 1 + k);
    record.publisher = text(result, row, first + 10);
}

// The parameters: the address, then the title, the nine words and the name.
std::vector<std::string> recordparams(const SubmitEntry &entry)
{
    std::vector<std::string> params{entry.address, utf8(entry.record.list.title)};
    for (const Word &word : entry.record.list.words)
        params.push_back(utf8(word.text));
    params.push_back(utf8(entry.record.publisher));
    return params;
}

class PostgresDb : public ShareDb {
public:
    explicit PostgresDb(const std::string &uri) : writer(uri), reader(uri) {}

    // Writes and reads on connections of their own, so that a page is read while a submission
    // is written.
    Connection writer;
    Connection reader;

    bool migrate(std::string &error)
    {
        const std::lock_guard<std::mutex> lock(writer.mutex);
        Transaction transaction(writer, "BEGIN", error);
        // Instances that start together take turns.
        if (!transaction ||
            !writer.run(
                ("SELECT pg_advisory_xact_lock(" + std::to_string(kLockSpace) + ", 0)").c_str(),
                error) ||
            !writer.run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)",
                        error))
            return false;
        const Result current = writer.run("SELECT version FROM schema_version", error);
        if (!current)
            return false;
        const bool recorded = PQntuples(current.get()) > 0;
        const std::int64_t version = recorded ? integer(current.get(), 0, 0) : 0;
        if (version > kSchemaVersion) {
            error = "the database is of a newer version (" + std::to_string(version) + ")";
            return false;
        }
        for (std::int64_t step = version; step < kSchemaVersion; ++step)
            if (!writer.run(kSchemaSteps[step].postgresql, error))
                return false;
        const std::string record = (recorded ? "UPDATE schema_version SET version = "
                                             : "INSERT INTO schema_version VALUES (") +
                                   std::to_string(kSchemaVersion) + (recorded ? "" : ")");
        return (version == kSchemaVersion || writer.run(record.c_str(), error)) &&
               transaction.commit(error);
    }

    bool submit(std::vector<SubmitEntry> &entries, Status status, int perHour,
                std::string &error) override
    {
        const std::lock_guard<std::mutex> lock(writer.mutex);
        Transaction transaction(writer, "BEGIN", error);
        if (!transaction)
            return false;
        // Instances check and store one address at a time, always in the same order.
        std::set<std::string> addresses;
        for (const SubmitEntry &entry : entries)
            addresses.insert(entry.address);
        const std::string lock_sql =
            "SELECT pg_advisory_xact_lock(" + std::to_string(kLockSpace) + ", hashtext($1))";
        for (const std::string &address : addresses)
            if (!writer.run(lock_sql.c_str(), {address}, error))
                return false;

        bool published = false;
        for (SubmitEntry &entry : entries) {
            if (!submitone(entry, status, perHour, error))
                return false;
            published = published || (entry.outcome == SubmitEntry::Outcome::Stored &&
                                      status == Status::Approved);
        }
        if (published && !writer.run("UPDATE page_version SET version = version + 1", error))
            return false;
        return transaction.commit(error);
    }

    std::optional<QList<Submission>> pending(std::string &error) override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        if (!reader.ready(error))
            return std::nullopt;
        const Result rows = reader.run("SELECT id, submitted, title, w1, w2, w3, w4, w5, w6, w7,"
                                       " w8, w9, publisher FROM lists WHERE status = 'pending'"
                                       " ORDER BY id",
                                       error);
        if (!rows)
            return std::nullopt;
        QList<Submission> submissions;
        for (int row = 0; row < PQntuples(rows.get()); ++row) {
            Submission submission;
            submission.id = integer(rows.get(), row, 0);
            submission.submitted = text(rows.get(), row, 1);
            readrecord(rows.get(), row, 2, submission.record);
            submissions.append(submission);
        }
        return submissions;
    }

    std::optional<PublishedLists> published(int cap, std::string &error) override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        // One snapshot for the count and the lists.
        Transaction transaction(reader, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", error);
        if (!transaction)
            return std::nullopt;
        const Result count =
            reader.run("SELECT count(*) FROM lists WHERE status = 'approved'", error);
        const Result rows =
            count ? reader.run("SELECT title, w1, w2, w3, w4, w5, w6, w7, w8, w9, publisher"
                               " FROM lists WHERE status = 'approved' ORDER BY id DESC LIMIT $1",
                               {std::to_string(cap)}, error)
                  : nullptr;
        if (!rows || !transaction.commit(error))
            return std::nullopt;
        PublishedLists lists;
        lists.total = integer(count.get(), 0, 0);
        for (int row = 0; row < PQntuples(rows.get()); ++row) {
            SharedRecord record;
            readrecord(rows.get(), row, 0, record);
            lists.records.append(record);
        }
        return lists;
    }

    Change setstatus(std::int64_t id, Status status, std::string &error) override
    {
        const std::lock_guard<std::mutex> lock(writer.mutex);
        Transaction transaction(writer, "BEGIN", error);
        if (!transaction)
            return Change::Failed;
        const std::string sql =
            std::string("UPDATE lists SET status = $1, reviewed = ") + timenow + " WHERE id = $2";
        const Result update =
            writer.run(sql.c_str(), {statusname(status), std::to_string(id)}, error);
        if (!update)
            return Change::Failed;
        if (std::strtoll(PQcmdTuples(update.get()), nullptr, 10) == 0)
            return Change::Unknown;
        if (!writer.run("UPDATE page_version SET version = version + 1", error) ||
            !transaction.commit(error))
            return Change::Failed;
        return Change::Done;
    }

    std::optional<std::int64_t> pageversion(std::string &error) override
    {
        const std::lock_guard<std::mutex> lock(reader.mutex);
        if (!reader.ready(error))
            return std::nullopt;
        const Result version = reader.run("SELECT version FROM page_version", error);
        if (!version || PQntuples(version.get()) != 1) {
            if (version)
                error = "page_version holds no row";
            return std::nullopt;
        }
        return integer(version.get(), 0, 0);
    }

    bool localversion() const override { return false; }

private:
    bool submitone(SubmitEntry &entry, Status status, int perHour, std::string &error)
    {
        std::vector<std::string> params = recordparams(entry);
        const Result same = writer.run(
            "SELECT id FROM lists WHERE address = $1 AND status = 'pending' AND title = $2"
            " AND w1 = $3 AND w2 = $4 AND w3 = $5 AND w4 = $6 AND w5 = $7 AND w6 = $8"
            " AND w7 = $9 AND w8 = $10 AND w9 = $11 AND publisher = $12 LIMIT 1",
            params, error);
        if (!same)
            return false;
        if (PQntuples(same.get()) > 0) {
            entry.outcome = SubmitEntry::Outcome::Duplicate;
            entry.id = integer(same.get(), 0, 0);
            return true;
        }
        if (perHour > 0) {
            const Result recent = writer.run(
                "SELECT count(*) FROM lists WHERE address = $1 AND submitted >= "
                "to_char(now() AT TIME ZONE 'UTC' - interval '1 hour', 'YYYY-MM-DD HH24:MI:SS')",
                {entry.address}, error);
            if (!recent)
                return false;
            if (integer(recent.get(), 0, 0) >= perHour) {
                entry.outcome = SubmitEntry::Outcome::Limited;
                return true;
            }
        }
        params.push_back(statusname(status));
        const std::string sql =
            std::string("INSERT INTO lists (address, title, w1, w2, w3, w4, w5, w6, w7, w8, w9,"
                        " publisher, status, reviewed) VALUES ($1, $2, $3, $4, $5, $6, $7, $8,"
                        " $9, $10, $11, $12, $13, CASE WHEN $13 = 'pending' THEN NULL ELSE ") +
            timenow + " END) RETURNING id";
        const Result inserted = writer.run(sql.c_str(), params, error);
        if (!inserted)
            return false;
        entry.outcome = SubmitEntry::Outcome::Stored;
        entry.id = integer(inserted.get(), 0, 0);
        return true;
    }
};
} // namespace

std::unique_ptr<ShareDb> openpostgresql(const std::string &uri, std::string &error)
{
    auto store = std::make_unique<PostgresDb>(uri);
    {
        const std::lock_guard<std::mutex> lock(store->reader.mutex);
        if (!store->reader.ready(error))
            return nullptr;
    }
    if (!store->migrate(error))
        return nullptr;
    return store;
}
