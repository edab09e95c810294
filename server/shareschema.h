#pragma once

#include "sharedb.h"

#include <memory>
#include <string>

// The layout of the store, as steps from an empty database: step n (counted from 1) brings a
// store of version n - 1 to version n. Each back end records its version in the table
// schema_version and runs the missing steps in one transaction at start-up, so both move
// through the same versions. A step is written once per SQL dialect.
struct SchemaStep {
    const char *sqlite;
    const char *postgresql;
};
inline constexpr int kSchemaVersion = 3;

// The columns of a record, in the order the back ends bind and read them: the title, the nine
// words, the publisher, the nine readings, the nine meanings.
inline constexpr int kRecordColumns = 29;
// "title, w1, ..., publisher, r1, ..., g9".
std::string recordcolumns();
// "title = P, w1 = P, ...": each column compared with a parameter, numbered from first on,
// written ?N (SQLite) or $N (PostgreSQL).
std::string samerecord(int first, char mark);
// The text of column k (0 .. kRecordColumns - 1) of a record, and the place it is read into.
const QString &recordvalue(const SharedRecord &record, int k);
QString &recordvalue(SharedRecord &record, int k);
extern const SchemaStep kSchemaSteps[kSchemaVersion];

DbResult<std::unique_ptr<ShareDb>> opensqlite(const std::string &path, bool create);
DbResult<std::unique_ptr<ShareDb>> openpostgresql(const std::string &uri);

// The failure of one step, handed on as the failure of the call it is part of.
template<typename T> Failure<std::string> failed(const DbResult<T> &step)
{
    return failure(step.error());
}
