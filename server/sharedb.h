#pragma once

#include "wordlists/sharedpage.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

struct sqlite3;

// A submission as the reviewer sees it.
struct Submission {
    std::int64_t id = 0;
    QString submitted; // UTC, "YYYY-MM-DD HH:MM:SS"
    SharedRecord record;
};

// The service's lists in one SQLite file: every submission with its state, pending until a
// reviewer approves (published) or rejects it. Every statement binds its texts as parameters.
// One connection, which the service's threads take in turn.
class ShareDb {
public:
    enum class Status { Pending, Approved, Rejected };
    enum class Change { Done, Unknown, Failed };

    // create: make the file and its table when missing (the service); the review commands
    // open an existing file only. Empty with error set when the file cannot be used.
    static std::unique_ptr<ShareDb> open(const std::string &path, bool create, std::string &error);
    ~ShareDb();
    ShareDb(const ShareDb &) = delete;
    ShareDb &operator=(const ShareDb &) = delete;

    // The new submission's id, or none (error set).
    std::optional<std::int64_t> add(const SharedRecord &record, Status status, std::string &error);
    // Oldest first. None when the file could not be read (error set).
    std::optional<QList<Submission>> pending(std::string &error);
    // The page's lists, newest submission first. None when the file could not be read.
    std::optional<QList<SharedRecord>> published(std::string &error);
    Change setstatus(std::int64_t id, Status status, std::string &error);

private:
    explicit ShareDb(sqlite3 *db) : db_(db) {}
    std::optional<QList<Submission>> select(Status status, bool newestFirst, std::string &error);

    sqlite3 *db_;
    std::mutex mutex_; // the service answers on several threads
};
