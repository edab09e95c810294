// vaskelio-share: the word-list sharing service and its review commands.
#include "sharedb.h"
#include "shareservice.h"

#include <httplib.h>

#include <QStringList>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>
#include <thread>
#include <vector>

namespace {
const char usage[] =
    "usage: vaskelio-share serve --db FILE [--port N] [--bind ADDR] [--publish-all]\n"
    "       vaskelio-share pending --db FILE\n"
    "       vaskelio-share approve --db FILE ID\n"
    "       vaskelio-share reject --db FILE ID\n"
    "\n"
    "serve    answers GET /pellimo/wordlist.php?appid=1 (the approved lists, newest first)\n"
    "         and GET /pellimo/checkadd.php?appid=1&w0=..&w9=..&n1=.. (stored as pending).\n"
    "         --port 0 takes a free port; the address is printed on standard output.\n"
    "         Defaults: port 8080, address 127.0.0.1. --publish-all publishes every\n"
    "         submission at once (a test server). Ends on SIGINT or SIGTERM.\n"
    "pending  prints the submissions awaiting review, oldest first, one a line:\n"
    "         ID, submitted (UTC), publisher, title, words 1 to 9, separated by tabs.\n"
    "approve  publishes submission ID (also one rejected before).\n"
    "reject   keeps submission ID off the page (also one approved before).\n";

struct Options {
    std::string command;
    std::string db;
    std::string bind = "127.0.0.1";
    int port = 8080;
    bool publishAll = false;
    long long id = -1;
};

bool number(const char *text, long long low, long long high, long long &value)
{
    char *end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

bool parse(int argc, char **argv, Options &options)
{
    if (argc < 2)
        return false;
    options.command = argv[1];
    std::vector<std::string> rest;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        long long value = 0;
        if (arg == "--db" && i + 1 < argc) {
            options.db = argv[++i];
        } else if (arg == "--bind" && i + 1 < argc && options.command == "serve") {
            options.bind = argv[++i];
        } else if (arg == "--port" && i + 1 < argc && options.command == "serve") {
            if (!number(argv[++i], 0, 65535, value))
                return false;
            options.port = int(value);
        } else if (arg == "--publish-all" && options.command == "serve") {
            options.publishAll = true;
        } else {
            rest.push_back(arg);
        }
    }
    if (options.db.empty())
        return false;
    if (options.command == "serve" || options.command == "pending")
        return rest.empty();
    if (options.command == "approve" || options.command == "reject") {
        long long id = 0;
        if (rest.size() != 1 || !number(rest[0].c_str(), 1, LLONG_MAX, id))
            return false;
        options.id = id;
        return true;
    }
    return false;
}

int serve(const Options &options, ShareDb &db)
{
    // Only the waiting thread below takes SIGINT and SIGTERM; the server's threads inherit the
    // blocked mask, so stop() runs in an ordinary thread, not in a signal handler.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);

    httplib::Server server;
    addroutes(server, db, options.publishAll);
    const int port = options.port == 0
                         ? server.bind_to_any_port(options.bind)
                         : (server.bind_to_port(options.bind, options.port) ? options.port : -1);
    if (port < 0) {
        std::fprintf(stderr, "vaskelio-share: cannot listen on %s port %d\n", options.bind.c_str(),
                     options.port);
        return 1;
    }
    const bool v6 = options.bind.find(':') != std::string::npos;
    std::printf("vaskelio-share: listening on http://%s%s%s:%d\n", v6 ? "[" : "",
                options.bind.c_str(), v6 ? "]" : "", port);
    std::fflush(stdout);

    std::thread waiter([&server, stops] {
        int signal = 0;
        sigwait(&stops, &signal);
        server.stop();
    });
    const bool listened = server.listen_after_bind();
    // Ends the waiter when the server stopped by itself.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return listened ? 0 : 1;
}

int pending(ShareDb &db)
{
    std::string error;
    const auto rows = db.pending(error);
    if (!rows) {
        std::fprintf(stderr, "vaskelio-share: %s\n", error.c_str());
        return 1;
    }
    for (const Submission &row : *rows) {
        // The service refuses control characters, so a tab cannot be part of a text.
        QStringList fields{QString::number(row.id), row.submitted, row.record.publisher,
                           row.record.list.title};
        for (const QString &word : row.record.list.words)
            fields.append(word);
        std::printf("%s\n", fields.join(u'\t').toUtf8().constData());
    }
    return 0;
}

int review(const Options &options, ShareDb &db)
{
    std::string error;
    const auto status =
        options.command == "approve" ? ShareDb::Status::Approved : ShareDb::Status::Rejected;
    switch (db.setstatus(options.id, status, error)) {
    case ShareDb::Change::Done:
        return 0;
    case ShareDb::Change::Unknown:
        std::fprintf(stderr, "vaskelio-share: no submission %lld\n", options.id);
        return 1;
    case ShareDb::Change::Failed:
        break;
    }
    std::fprintf(stderr, "vaskelio-share: %s\n", error.c_str());
    return 1;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs(usage, stderr);
        return 2;
    }
    // A client that hangs up mid-reply must not end the service.
    std::signal(SIGPIPE, SIG_IGN);
    std::string error;
    const std::unique_ptr<ShareDb> db =
        ShareDb::open(options.db, options.command == "serve", error);
    if (!db) {
        std::fprintf(stderr, "vaskelio-share: %s: %s\n", options.db.c_str(), error.c_str());
        return 1;
    }
    if (options.command == "serve")
        return serve(options, *db);
    if (options.command == "pending")
        return pending(*db);
    return review(options, *db);
}
