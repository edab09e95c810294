#pragma once

#include "text/result.h"
#include "wordlists/sharedpage.h"
#include "wordlists/sharelimits.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class ShareDb;

using QueryParams = std::multimap<std::string, std::string>;

// The query of a request target, split at each "&" and each piece at its first "=", then
// percent-decoded with "+" read as a space. A value keeps any further "=".
QueryParams parsequery(const std::string &target);

// The query of a submission, decoded: exactly the keys appid (which must be "1"), w0 .. w9 and
// n1, each once, and any of r1 .. r9 (readings) and g1 .. g9 (meanings) at most once; every value
// UTF-8 (a leading U+FEFF is a character like any other) and acceptable to checksharevalue(). The
// record, or the reason it was refused in one line.
Result<SharedRecord, std::string> checksubmission(const QueryParams &params);

// An IPv4 or IPv6 address in its one canonical text (an IPv4-mapped IPv6 address as IPv4), or
// none when text is no address.
std::optional<std::string> canonicaladdress(const std::string &text);

// The client a request stands for. Only a peer named in proxies (canonical addresses) speaks
// for others: then the client is the last address of forwardedFor (X-Forwarded-For) that is not
// itself a proxy, each proxy having appended the address it was reached from. Otherwise, or when
// that header names no valid address there, the peer itself.
std::string clientaddress(const std::string &peer, const char *forwardedFor,
                          const std::vector<std::string> &proxies);

// How the service runs. Its defaults are for the internet: the limits make slow or idle
// connections, oversized requests and busy clients cost little, and keep the page small.
struct ServeOptions {
    std::string bind = "127.0.0.1";
    int port = 8080; // 0: a free port
    bool publishAll = false;
    int submitsPerHour = kDefaultSubmitsPerHour; // per client address; 0: no limit
    int pageCap = kDefaultPageCap;               // lists on the page, the newest
    std::vector<std::string> proxies;            // canonical addresses whose X-Forwarded-For counts
    int headSeconds = 10; // for a whole request head, from the connection or the last reply
    int idleSeconds = 5;  // without a byte in either direction
    int requestsPerConnection = 100;
    int connectionsPerAddress = 32; // proxies are not limited
    int maxConnections = 4096;
    int threads = 0;                  // 0: one per processor
    int pageCheckMilliseconds = 1000; // how stale the page may be when the store is shared
    int writers = 4; // transactions of submissions at once, where the store takes them in parallel
};

// The requests: GET /pellimo/wordlist.php?appid=1 (the page of published lists) and
// GET /pellimo/wordlists.json?appid=1 (the same lists with readings and meanings), both served
// from copies that are rebuilt together when the lists change, and GET /pellimo/checkadd.php?... (a
// submission, stored pending unless publishAll; 400 with the reason when refused, 429 when the
// client's address is over its limit). Anything else is 404. Event-driven: a few threads serve
// every connection, and submissions are stored in batches by writer threads (one on SQLite). One
// line per request goes to stderr: time, client, method, path, status, size ("-" for what is not
// known).
class ShareService {
public:
    ShareService(ShareDb &db, ServeOptions options);
    ~ShareService();
    ShareService(const ShareService &) = delete;
    ShareService &operator=(const ShareService &) = delete;

    // Listens and serves on threads of its own; the port, or -1 (error set).
    int start(std::string &error);
    // Answers the submissions already taken, then closes every connection.
    void stop();

    class Impl;

private:
    std::unique_ptr<Impl> impl_;
};
