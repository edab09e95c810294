// vaskelio-share: the word-list sharing service and its review commands.
#include "appinfo.h"
#include "sharedb.h"
#include "shareservice.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {
const char usage[] =
    "usage: vaskelio-share serve --db STORE [--port N] [--bind ADDR] [--publish-all]\n"
    "                            [--rate-limit PER_HOUR] [--page-cap N] [--proxy ADDR]...\n"
    "                            [--head-timeout S] [--idle-timeout S] [--max-requests N]\n"
    "                            [--max-per-address N] [--max-connections N] [--threads N]\n"
    "                            [--page-check MS] [--writers N]\n"
    "       vaskelio-share pending --db STORE\n"
    "       vaskelio-share approve --db STORE ID\n"
    "       vaskelio-share reject --db STORE ID\n"
    "       vaskelio-share --help | --version\n"
    "\n"
    "STORE    an SQLite file, or a PostgreSQL database as postgresql://USER@HOST/DB (any libpq\n"
    "         URI) that several instances of the service may share. Its tables are made or\n"
    "         brought up to date when the service starts.\n"
    "serve    answers GET /pellimo/wordlist.php?appid=1 (the newest approved lists, newest\n"
    "         first), GET /pellimo/wordlists.json?appid=1 (the same lists with the words'\n"
    "         readings and meanings) and GET /pellimo/checkadd.php?appid=1&w0=..&w9=..&n1=..\n"
    "         [&r1=..&g1=.. .. &r9=..&g9=..] (stored as pending).\n"
    "         --port 0 takes a free port; the address is printed on standard output.\n"
    "         Defaults: port 8080, address 127.0.0.1. --publish-all publishes every\n"
    "         submission at once (a test server). Ends on SIGINT or SIGTERM.\n"
    "         Limits: --rate-limit submissions per client address and hour (default 20, 0 for\n"
    "         none); --page-cap lists on the page (default 1000, at most %d); --proxy names a\n"
    "         reverse proxy whose X-Forwarded-For gives the client address (repeatable);\n"
    "         --head-timeout seconds for a whole request head (default 10); --idle-timeout\n"
    "         seconds of silence on a connection (default 5); --max-requests per connection\n"
    "         (default 100); --max-per-address connections per client address (default 32);\n"
    "         --max-connections in all (default 4096); --threads serving (default: one per\n"
    "         processor). The page is kept ready and made again when the lists change; a\n"
    "         PostgreSQL store is asked whether they changed at most every --page-check\n"
    "         milliseconds (default 1000), an SQLite file at each request. --writers\n"
    "         transactions of submissions under way at once on PostgreSQL, a connection\n"
    "         each (default 4; an SQLite file takes one at a time).\n"
    "pending  prints the submissions awaiting review, oldest first, one a line:\n"
    "         ID, submitted (UTC), publisher, title, words 1 to 9, separated by tabs; when\n"
    "         it brought any readings or meanings, readings 1 to 9 and meanings 1 to 9 follow.\n"
    "approve  publishes submission ID (also one rejected before).\n"
    "reject   keeps submission ID off the page (also one approved before).\n";

struct Options {
    std::string command;
    std::string db;
    ServeOptions serve;
    long long id = -1;
    std::string error; // what the command line got wrong, when the parser can say
};

bool number(const char *text, long long low, long long high, long long &value)
{
    char *end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

// The command line, read by QCommandLineParser: options anywhere, the command and an ID as
// positional arguments. False on any mistake, which is a usage error.
bool parse(const QStringList &arguments, Options &options, bool &help, bool &version)
{
    ServeOptions &serve = options.serve;
    // The serve options that take a whole number: where it goes and its range.
    const struct {
        const char *name;
        int *value;
        long long low, high;
    } numbers[] = {
        {"port", &serve.port, 0, 65535},
        {"rate-limit", &serve.submitsPerHour, 0, 1000000},
        {"page-cap", &serve.pageCap, 1, kMaxPageCap},
        {"head-timeout", &serve.headSeconds, 1, 3600},
        {"idle-timeout", &serve.idleSeconds, 1, 3600},
        {"max-requests", &serve.requestsPerConnection, 1, 1000000},
        {"max-per-address", &serve.connectionsPerAddress, 1, 1000000},
        {"max-connections", &serve.maxConnections, 1, 1000000},
        {"threads", &serve.threads, 1, 256},
        {"page-check", &serve.pageCheckMilliseconds, 0, 60000},
        {"writers", &serve.writers, 1, 64},
    };
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(
        QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption db(QStringLiteral("db"), QString(), QStringLiteral("STORE"));
    const QCommandLineOption bind(QStringLiteral("bind"), QString(), QStringLiteral("ADDR"));
    const QCommandLineOption proxy(QStringLiteral("proxy"), QString(), QStringLiteral("ADDR"));
    const QCommandLineOption publishAll(QStringLiteral("publish-all"));
    parser.addOptions({helpOption, versionOption, db, bind, proxy, publishAll});
    QStringList serveOnly{bind.names().first(), proxy.names().first(), publishAll.names().first()};
    for (const auto &n : numbers) {
        parser.addOption(QCommandLineOption(QLatin1String(n.name), QString(), QStringLiteral("N")));
        serveOnly.append(QLatin1String(n.name));
    }
    if (!parser.parse(arguments)) {
        options.error = parser.errorText().toStdString();
        return false;
    }
    help = parser.isSet(helpOption);
    version = parser.isSet(versionOption);
    if (help || version)
        return true;

    QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return false;
    options.command = rest.takeFirst().toStdString();
    const bool serving = options.command == "serve";
    for (const QString &name : serveOnly)
        if (!serving && parser.isSet(name))
            return false;
    for (const auto &n : numbers) {
        const QString name = QLatin1String(n.name);
        if (!parser.isSet(name))
            continue;
        long long value = 0;
        if (!number(parser.value(name).toUtf8().constData(), n.low, n.high, value))
            return false;
        *n.value = int(value);
    }
    if (parser.isSet(bind))
        serve.bind = parser.value(bind).toStdString();
    for (const QString &address : parser.values(proxy)) {
        const std::optional<std::string> canonical = canonicaladdress(address.toStdString());
        if (!canonical)
            return false;
        serve.proxies.push_back(*canonical);
    }
    serve.publishAll = parser.isSet(publishAll);
    options.db = parser.value(db).toStdString();
    if (options.db.empty())
        return false;
    if (serving || options.command == "pending")
        return rest.isEmpty();
    if (options.command == "approve" || options.command == "reject") {
        long long id = 0;
        if (rest.size() != 1 || !number(rest[0].toUtf8().constData(), 1, LLONG_MAX, id))
            return false;
        options.id = id;
        return true;
    }
    return false;
}

void printusage(std::FILE *to)
{
    std::fprintf(to, usage, kMaxPageCap);
}

int serve(Options &options, ShareDb &db)
{
    // Only this thread takes SIGINT and SIGTERM, in sigwait below; the service's threads
    // inherit the blocked mask.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);

    // Each connection takes a descriptor: allow as many as the system lets this process have.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY &&
        rlim_t(options.serve.maxConnections) + 64 > files.rlim_cur)
        options.serve.maxConnections = int(std::max<rlim_t>(files.rlim_cur, 128) - 64);

    ShareService service(db, options.serve);
    std::string error;
    const int port = service.start(error);
    if (port < 0) {
        std::fprintf(stderr, "vaskelio-share: %s\n", error.c_str());
        return 1;
    }
    const std::string &bind = options.serve.bind;
    const bool v6 = bind.find(':') != std::string::npos;
    std::printf("vaskelio-share: listening on http://%s%s%s:%d\n", v6 ? "[" : "", bind.c_str(),
                v6 ? "]" : "", port);
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stops, &signal);
    service.stop();
    return 0;
}

int pending(ShareDb &db)
{
    const DbResult<QList<Submission>> rows = db.pending();
    if (!rows) {
        std::fprintf(stderr, "vaskelio-share: %s\n", rows.error().c_str());
        return 1;
    }
    for (const Submission &row : *rows) {
        // The service refuses control characters, so a tab cannot be part of a text.
        QStringList fields{QString::number(row.id), row.submitted, row.record.publisher,
                           row.record.list.title};
        bool glossed = false;
        for (const Word &word : row.record.list.words) {
            fields.append(word.text);
            glossed = glossed || !word.reading.isEmpty() || !word.meaning.isEmpty();
        }
        // The reviewer sees all that would be published; a list without them, as ever.
        if (glossed) {
            for (const Word &word : row.record.list.words)
                fields.append(word.reading);
            for (const Word &word : row.record.list.words)
                fields.append(word.meaning);
        }
        std::printf("%s\n", fields.join(u'\t').toUtf8().constData());
    }
    return 0;
}

int review(const Options &options, ShareDb &db)
{
    const auto status =
        options.command == "approve" ? ShareDb::Status::Approved : ShareDb::Status::Rejected;
    const DbResult<ShareDb::Change> changed = db.setstatus(options.id, status);
    if (!changed) {
        std::fprintf(stderr, "vaskelio-share: %s\n", changed.error().c_str());
        return 1;
    }
    switch (*changed) {
    case ShareDb::Change::Done:
        return 0;
    case ShareDb::Change::Unknown:
        break;
    }
    std::fprintf(stderr, "vaskelio-share: no submission %lld\n", options.id);
    return 1;
}
} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    Options options;
    bool help = false, version = false;
    if (!parse(arguments, options, help, version)) {
        if (!options.error.empty())
            std::fprintf(stderr, "vaskelio-share: %s\n", options.error.c_str());
        printusage(stderr);
        return 2;
    }
    if (help) {
        printusage(stdout);
        return 0;
    }
    if (version) {
        std::printf("vaskelio-share %s\n", appinfo::kVersion);
        return 0;
    }
#if defined(SIGPIPE)
    // A client that hangs up mid-reply must not end the service.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    DbResult<std::unique_ptr<ShareDb>> opened =
        ShareDb::open(options.db, options.command == "serve");
    if (!opened) {
        // A PostgreSQL address may carry a password.
        const std::string store =
            ShareDb::ispostgresql(options.db) ? "the PostgreSQL database" : options.db;
        std::fprintf(stderr, "vaskelio-share: %s: %s\n", store.c_str(), opened.error().c_str());
        return 1;
    }
    const std::unique_ptr<ShareDb> db = std::move(*opened);
    if (options.command == "serve")
        return serve(options, *db);
    if (options.command == "pending")
        return pending(*db);
    return review(options, *db);
}
