#pragma once

#include "text/result.h"
#include "wordlists/sharedpage.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a store call gives: its value, or why it failed in the store's own words (the back end's
// message, or one of ours), which the logs and the review commands print as they are.
template<typename T> using DbResult = Result<T, std::string>;
using DbStatus = DbResult<void>;

// A submission as the reviewer sees it.
struct Submission {
    std::int64_t id = 0;
    QString submitted; // UTC, "YYYY-MM-DD HH:MM:SS"
    SharedRecord record;
};

// The newest published lists, newest first, and how many there are in all.
struct PublishedLists {
    QList<SharedRecord> records;
    std::int64_t total = 0;
};

// One submission on its way into the store, with the client address it came from and, once
// stored, what became of it.
struct SubmitEntry {
    enum class Outcome { Stored, Duplicate, Limited, Failed };
    SharedRecord record;
    std::string address;
    Outcome outcome = Outcome::Failed;
    std::int64_t id = 0; // of the stored row, or of the pending row it repeats
};

// The service's lists: every submission with its state, pending until a reviewer approves
// (published) or rejects it. Two back ends behind one interface: an SQLite file (one machine)
// and a PostgreSQL database that several instances of the service share. Both bind every text
// as a parameter, create their tables on first use and bring an older layout up to date through
// the same steps. Each method may be called from any thread.
class ShareDb {
public:
    enum class Status { Pending, Approved, Rejected };
    enum class Change { Done, Unknown };

    // where: a "postgresql://" (or "postgres://") URI, else the path of an SQLite file. create:
    // make a missing SQLite file (the service); the review commands use an existing one only.
    static DbResult<std::unique_ptr<ShareDb>> open(const std::string &where, bool create);
    static bool ispostgresql(const std::string &where);
    virtual ~ShareDb() = default;

    // Stores the entries in one transaction, in order, setting each outcome: Duplicate when the
    // same address has the same list (title, words, name) pending, Limited when the address
    // already made perHour submissions within the last hour (0: no limit), else Stored with
    // status. Nothing is stored when it fails, and success means committed. Parallel calls (see
    // concurrentwrites()) give the same outcomes as the same calls one after another.
    virtual DbStatus submit(std::vector<SubmitEntry> &entries, Status status, int perHour) = 0;
    // Oldest first.
    virtual DbResult<QList<Submission>> pending() = 0;
    // The newest cap published lists, newest submission first.
    virtual DbResult<PublishedLists> published(int cap) = 0;
    // Unknown when there is no submission id.
    virtual DbResult<Change> setstatus(std::int64_t id, Status status) = 0;
    // A number that changes whenever the published lists change, by whichever process.
    virtual DbResult<std::int64_t> pageversion() = 0;
    // True when pageversion() is cheap enough to ask at every page request (a local file);
    // false when it costs a round trip to a server.
    virtual bool localversion() const = 0;
    // True when submit() calls on several threads store in parallel (a database server, a
    // connection each); false when they only take turns (one file).
    virtual bool concurrentwrites() const = 0;

    // One submission without a client address or limit, for tests and tools: its id.
    DbResult<std::int64_t> add(const SharedRecord &record, Status status);

protected:
    ShareDb() = default;
    ShareDb(const ShareDb &) = delete;
    ShareDb &operator=(const ShareDb &) = delete;
};

const char *statusname(ShareDb::Status status);

// UTF-8 bytes as text, a leading U+FEFF kept as the character it is (QString::fromUtf8 drops
// it). Bytes that are no UTF-8 become U+FFFD and set invalid when given.
QString utf8text(QByteArrayView bytes, bool *invalid = nullptr);
