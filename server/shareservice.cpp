#include "shareservice.h"

#include "sharedb.h"
#include "text/textrules.h"
#include "wordlists/shareprotocol.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace {
using Clock = std::chrono::steady_clock;

// Header fields beyond this many are no browser's or player's: 431. Their total size is bounded
// by the memory of a connection (kConnectionMemory), which the library answers with 431 too.
constexpr unsigned kMaxHeaderFields = 64;
constexpr std::size_t kConnectionMemory = 32 * 1024;

// "+" is a space; %XX the byte XX; a "%" that starts no such pair stays as it is.
std::string formdecode(QByteArrayView text)
{
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        const int high = c == '%' && i + 2 < text.size() ? digitValue(uchar(text.at(i + 1))) : -1;
        const int low = high >= 0 ? digitValue(uchar(text.at(i + 2))) : -1;
        if (low >= 0) {
            out += char(high * 16 + low);
            i += 2;
        } else {
            out += c == '+' ? ' ' : c;
        }
    }
    return out;
}

// Whatever the client sent, one printable line; "-" for nothing.
std::string printable(const std::string &text)
{
    if (text.empty())
        return "-";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F || b == '\\') {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> addresstext(const sockaddr *address)
{
    char text[INET6_ADDRSTRLEN] = "";
    if (address && address->sa_family == AF_INET) {
        const auto *v4 = reinterpret_cast<const sockaddr_in *>(address);
        if (inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text))
            return std::string(text);
    } else if (address && address->sa_family == AF_INET6) {
        const auto *v6 = reinterpret_cast<const sockaddr_in6 *>(address);
        if (inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text))
            return canonicaladdress(text);
    }
    return std::nullopt;
}
} // namespace

QueryParams parsequery(const std::string &target)
{
    QueryParams params;
    const std::size_t mark = target.find('?');
    if (mark == std::string::npos)
        return params;
    QByteArray query = QByteArray::fromStdString(target.substr(mark + 1));
    if (const qsizetype hash = query.indexOf('#'); hash >= 0)
        query.truncate(hash);
    for (const QByteArray &piece : query.split('&')) {
        if (piece.isEmpty())
            continue;
        const qsizetype eq = piece.indexOf('=');
        const QByteArrayView whole(piece);
        params.emplace(formdecode(eq < 0 ? whole : whole.first(eq)),
                       formdecode(eq < 0 ? QByteArrayView() : whole.sliced(eq + 1)));
    }
    return params;
}

Result<SharedRecord, std::string> checksubmission(const QueryParams &params)
{
    using namespace shareprotocol;
    static const QList<int> fields = submissionfields();
    // Made once: every submission is checked against them.
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> made{kAppIdKey};
        for (const int field : fields)
            made.push_back(fieldKey(field).toStdString());
        return made;
    }();
    for (const auto &param : params) {
        // A named variable: lambdas may not capture structured bindings before C++20.
        const std::string &key = param.first;
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            return failure("unknown key " + printable(key));
    }
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const auto count = params.count(keys[k]);
        // Readings and meanings are optional: older clients send none.
        if (count == 0 && (k == 0 || glossedword(fields.at(qsizetype(k) - 1)) == 0))
            return failure("missing " + keys[k]);
        if (count > 1)
            return failure("more than one " + keys[k]);
    }
    if (params.find(kAppIdKey)->second != kAppId)
        return failure(std::string("unknown appid"));

    SharedRecord record;
    for (const int field : fields) {
        const auto found = params.find(fieldKey(field).toStdString());
        if (found == params.end())
            continue;
        const std::string &bytes = found->second;
        // A byte-order mark is part of the text here, not a sign of its encoding.
        bool invalid = false;
        const QString text =
            utf8text(QByteArrayView(bytes.data(), qsizetype(bytes.size())), &invalid);
        if (invalid)
            return failure(sharefieldname(field).toStdString() + " is not UTF-8");
        if (const auto checked = checksharevalue(field, text); !checked)
            return failure(checked.error().english().toStdString());
        const int k = glossedword(field);
        (field == 0                 ? record.list.title
         : field == kShareNameField ? record.publisher
         : isreadingfield(field)    ? record.list.words[k - 1].reading
         : ismeaningfield(field)    ? record.list.words[k - 1].meaning
                                    : record.list.words[field - 1].text) = text;
    }
    return record;
}

std::optional<std::string> canonicaladdress(const std::string &text)
{
    char out[INET6_ADDRSTRLEN] = "";
    in_addr v4{};
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1 && inet_ntop(AF_INET, &v4, out, sizeof out))
        return std::string(out);
    in6_addr v6{};
    if (inet_pton(AF_INET6, text.c_str(), &v6) != 1)
        return std::nullopt;
    if (IN6_IS_ADDR_V4MAPPED(&v6)) {
        std::memcpy(&v4, v6.s6_addr + 12, sizeof v4);
        if (inet_ntop(AF_INET, &v4, out, sizeof out))
            return std::string(out);
        return std::nullopt;
    }
    if (!inet_ntop(AF_INET6, &v6, out, sizeof out))
        return std::nullopt;
    return std::string(out);
}

std::string clientaddress(const std::string &peer, const char *forwardedFor,
                          const std::vector<std::string> &proxies)
{
    const auto isproxy = [&proxies](const std::string &address) {
        return std::find(proxies.begin(), proxies.end(), address) != proxies.end();
    };
    if (!forwardedFor || !isproxy(peer))
        return peer;
    std::string client = peer;
    const QList<QByteArray> hops = QByteArray(forwardedFor).split(',');
    for (auto hop = hops.crbegin(); hop != hops.crend(); ++hop) {
        const std::optional<std::string> address = canonicaladdress(hop->trimmed().toStdString());
        if (!address)
            break; // nothing further left can be trusted
        client = *address;
        if (!isproxy(client))
            break;
    }
    return client;
}

// ---------------------------------------------------------------------------------------------

namespace {
// A request on a connection, from its first line to its reply.
struct Request {
    std::string target; // as sent, with the query
    std::string method;
    std::string path;
    std::string client;
    unsigned status = 0;
    std::optional<std::size_t> size; // of the body the service sent
    bool started = false;            // its first line has come
    bool handled = false;            // the service has seen its head
    bool dispatched = false;         // and acted on it
    // A submission handed to the writer, and its reply once stored.
    bool queued = false;
    unsigned replyStatus = 0;
    std::string replyText;
};

// A connection, with what the limits need to know about it.
struct Link {
    int fd = -1;
    std::string peer;
    bool proxy = false;
    // Waiting for a request head since then: the connection opened, or the last reply went.
    bool awaitingHead = true;
    Clock::time_point waitingSince = Clock::now();
    bool cut = false;
    int requests = 0;
    Request request;
};

struct Job {
    MHD_Connection *connection;
    Request *request;
    SubmitEntry entry;
};

MHD_Response *plainresponse(const std::string &text, bool close)
{
    const std::string body = text + "\n";
    MHD_Response *response = MHD_create_response_from_buffer(
        body.size(), const_cast<char *>(body.data()), MHD_RESPMEM_MUST_COPY);
    if (!response)
        return nullptr;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "text/plain; charset=utf-8");
    MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
    if (close)
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
    return response;
}

std::string utcnow()
{
    char when[32] = "-";
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#if defined(_WIN32)
    const bool known = gmtime_s(&utc, &now) == 0;
#else
    const bool known = gmtime_r(&now, &utc) != nullptr;
#endif
    if (known)
        std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return when;
}
} // namespace

class ShareService::Impl {
public:
    Impl(ShareDb &db, ServeOptions options) : db_(db), options_(std::move(options)) {}
    ~Impl() { stop(); }

    int start(std::string &error);
    void stop();

private:
    static MHD_Result acceptcb(void *cls, const sockaddr *address, socklen_t);
    static void notifycb(void *cls, MHD_Connection *connection, void **context,
                         MHD_ConnectionNotificationCode code);
    static void *urilogcb(void *cls, const char *uri, MHD_Connection *connection);
    static MHD_Result handlecb(void *cls, MHD_Connection *connection, const char *url,
                               const char *method, const char *version, const char *upload,
                               std::size_t *uploadSize, void **context);
    static void completedcb(void *cls, MHD_Connection *connection, void **context,
                            MHD_RequestTerminationCode code);
    static void errorlogcb(void *cls, const char *format, va_list args);

    // The head has come: refuses what no request of the service may carry.
    MHD_Result head(MHD_Connection *connection, Link &link, Request &request, const char *url,
                    const char *method);
    // Answers the request, or hands a submission to the writer.
    MHD_Result dispatch(MHD_Connection *connection, Link &link, Request &request);
    MHD_Result reply(MHD_Connection *connection, Link &link, Request &request, unsigned status,
                     const std::string &text, bool close = false);
    // The page, or the lists' JSON: copies made again when the lists change.
    MHD_Result page(MHD_Connection *connection, Link &link, Request &request, bool json);
    MHD_Result submit(MHD_Connection *connection, Link &link, Request &request);
    bool lastrequest(const Link &link) const
    {
        return link.requests + 1 >= options_.requestsPerConnection;
    }
    // The request's reply went, or its connection closed: logs it, and the connection waits for
    // the next head.
    void finish(MHD_Connection *connection, Link &link, Request &request);
    void log(const Request &request);
    void reap();
    void write();
    DbStatus rebuildpage(std::int64_t version);

    ShareDb &db_;
    ServeOptions options_;
    MHD_Daemon *daemon_ = nullptr;

    std::mutex linksMutex_;
    std::unordered_set<Link *> links_;
    std::unordered_map<std::string, int> perAddress_;

    std::mutex stopMutex_;
    std::condition_variable stopping_;
    bool stopped_ = false;
    std::thread reaper_;

    std::mutex jobsMutex_;
    std::condition_variable jobsReady_;
    std::condition_variable jobsDone_;
    std::vector<Job> jobs_;
    int outstanding_ = 0; // submissions taken whose reply has not gone yet
    bool writing_ = false;
    std::vector<std::thread> writers_;

    // The page as it is sent: for a connection that stays open and for its last request.
    std::mutex pageMutex_;
    MHD_Response *page_ = nullptr;
    MHD_Response *lastPage_ = nullptr;
    std::size_t pageSize_ = 0;
    MHD_Response *json_ = nullptr;
    MHD_Response *lastJson_ = nullptr;
    std::size_t jsonSize_ = 0;
    std::int64_t pageVersion_ = -1;
    Clock::time_point pageChecked_;
    std::atomic<bool> pageDirty_{false};
};

ShareService::ShareService(ShareDb &db, ServeOptions options)
    : impl_(std::make_unique<Impl>(db, std::move(options)))
{
}

ShareService::~ShareService() = default;

int ShareService::start(std::string &error)
{
    return impl_->start(error);
}

void ShareService::stop()
{
    impl_->stop();
}

int ShareService::Impl::start(std::string &error)
{
    sockaddr_storage address{};
    bool v6 = false;
    auto *in4 = reinterpret_cast<sockaddr_in *>(&address);
    auto *in6 = reinterpret_cast<sockaddr_in6 *>(&address);
    if (inet_pton(AF_INET, options_.bind.c_str(), &in4->sin_addr) == 1) {
        in4->sin_family = AF_INET;
        in4->sin_port = htons(uint16_t(options_.port));
    } else if (inet_pton(AF_INET6, options_.bind.c_str(), &in6->sin6_addr) == 1) {
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(uint16_t(options_.port));
        v6 = true;
    } else {
        error = "not an IP address: " + options_.bind;
        return -1;
    }
    writing_ = true;
    // A store that writes in parallel takes several batches at once: one waits for its commit
    // while the next is checked.
    const int writers = db_.concurrentwrites() ? std::max(1, options_.writers) : 1;
    for (int k = 0; k < writers; ++k)
        writers_.emplace_back([this] { write(); });
    reaper_ = std::thread([this] { reap(); });

    const unsigned threads = options_.threads > 0
                                 ? unsigned(options_.threads)
                                 : std::max(1u, std::thread::hardware_concurrency());
    const unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL |
                           MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG | (v6 ? MHD_USE_IPv6 : 0);
    daemon_ = MHD_start_daemon(
        flags, uint16_t(options_.port), &Impl::acceptcb, this, &Impl::handlecb, this,
        MHD_OPTION_EXTERNAL_LOGGER, &Impl::errorlogcb, this, MHD_OPTION_SOCK_ADDR, &address,
        MHD_OPTION_THREAD_POOL_SIZE, threads, MHD_OPTION_CONNECTION_LIMIT,
        unsigned(options_.maxConnections), MHD_OPTION_CONNECTION_TIMEOUT,
        unsigned(options_.idleSeconds), MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory,
        MHD_OPTION_LISTEN_BACKLOG_SIZE, 1024u, MHD_OPTION_URI_LOG_CALLBACK, &Impl::urilogcb, this,
        MHD_OPTION_NOTIFY_COMPLETED, &Impl::completedcb, this, MHD_OPTION_NOTIFY_CONNECTION,
        &Impl::notifycb, this, MHD_OPTION_END);
    if (!daemon_) {
        error = "cannot listen on " + options_.bind + " port " + std::to_string(options_.port);
        stop();
        return -1;
    }
    const MHD_DaemonInfo *info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    return info ? info->port : options_.port;
}

void ShareService::Impl::stop()
{
    {
        const std::lock_guard<std::mutex> lock(stopMutex_);
        if (stopped_)
            return;
        stopped_ = true;
    }
    stopping_.notify_all();
    if (reaper_.joinable())
        reaper_.join();
    // The writers store what they took and resume those connections: none may stay suspended
    // when the daemon stops. Their replies go before it closes the connections.
    {
        const std::lock_guard<std::mutex> lock(jobsMutex_);
        writing_ = false;
    }
    jobsReady_.notify_all();
    for (std::thread &writer : writers_)
        writer.join();
    writers_.clear();
    {
        std::unique_lock<std::mutex> lock(jobsMutex_);
        jobsDone_.wait_for(lock, std::chrono::seconds(5), [this] { return outstanding_ == 0; });
    }
    if (daemon_)
        MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
    for (MHD_Response *response : {page_, lastPage_, json_, lastJson_})
        if (response)
            MHD_destroy_response(response);
    page_ = lastPage_ = json_ = lastJson_ = nullptr;
}

MHD_Result ShareService::Impl::acceptcb(void *cls, const sockaddr *address, socklen_t)
{
    auto *self = static_cast<Impl *>(cls);
    const std::optional<std::string> peer = addresstext(address);
    if (!peer)
        return MHD_YES;
    if (std::find(self->options_.proxies.begin(), self->options_.proxies.end(), *peer) !=
        self->options_.proxies.end())
        return MHD_YES;
    const std::lock_guard<std::mutex> lock(self->linksMutex_);
    const auto known = self->perAddress_.find(*peer);
    return known != self->perAddress_.end() && known->second >= self->options_.connectionsPerAddress
               ? MHD_NO
               : MHD_YES;
}

void ShareService::Impl::notifycb(void *cls, MHD_Connection *connection, void **context,
                                  MHD_ConnectionNotificationCode code)
{
    auto *self = static_cast<Impl *>(cls);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
        auto *link = new Link;
        if (const MHD_ConnectionInfo *info =
                MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD))
            link->fd = info->connect_fd;
        if (const MHD_ConnectionInfo *info =
                MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS))
            link->peer = addresstext(info->client_addr).value_or(std::string());
        link->proxy = std::find(self->options_.proxies.begin(), self->options_.proxies.end(),
                                link->peer) != self->options_.proxies.end();
        // Short replies go at once, not after the client's delayed acknowledgement.
        const int one = 1;
        if (link->fd >= 0)
            setsockopt(link->fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        *context = link;
        const std::lock_guard<std::mutex> lock(self->linksMutex_);
        self->links_.insert(link);
        const int count = ++self->perAddress_[link->peer];
        // The acceptance test and this count race a little across threads: the excess goes.
        if (!link->proxy && count > self->options_.connectionsPerAddress && link->fd >= 0) {
            shutdown(link->fd, SHUT_RDWR);
            link->cut = true;
        }
        return;
    }
    auto *link = static_cast<Link *>(*context);
    if (!link)
        return;
    if (link->request.started)
        self->finish(connection, *link, link->request);
    {
        const std::lock_guard<std::mutex> lock(self->linksMutex_);
        self->links_.erase(link);
        const auto count = self->perAddress_.find(link->peer);
        if (count != self->perAddress_.end() && --count->second <= 0)
            self->perAddress_.erase(count);
    }
    delete link;
    *context = nullptr;
}

void *ShareService::Impl::urilogcb(void *, const char *uri, MHD_Connection *connection)
{
    const MHD_ConnectionInfo *info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    auto *link = info ? static_cast<Link *>(info->socket_context) : nullptr;
    if (!link)
        return nullptr;
    link->request = Request();
    link->request.target = uri ? uri : "";
    link->request.path = link->request.target.substr(0, link->request.target.find('?'));
    link->request.started = true;
    return &link->request;
}

MHD_Result ShareService::Impl::handlecb(void *cls, MHD_Connection *connection, const char *url,
                                        const char *method, const char *, const char *,
                                        std::size_t *uploadSize, void **context)
{
    auto *self = static_cast<Impl *>(cls);
    auto *request = static_cast<Request *>(*context);
    const MHD_ConnectionInfo *info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    auto *link = info ? static_cast<Link *>(info->socket_context) : nullptr;
    if (!request || !link)
        return MHD_NO;
    if (!request->handled) {
        request->handled = true;
        {
            const std::lock_guard<std::mutex> lock(self->linksMutex_);
            link->awaitingHead = false;
        }
        return self->head(connection, *link, *request, url, method);
    }
    // A body that came with the head was refused with it; nothing more is read.
    if (*uploadSize != 0) {
        *uploadSize = 0;
        return MHD_YES;
    }
    // Back from the writer.
    if (request->replyStatus != 0)
        return self->reply(connection, *link, *request, request->replyStatus, request->replyText);
    // The library keeps a connection open only for a reply queued after the first call.
    if (!request->dispatched) {
        request->dispatched = true;
        return self->dispatch(connection, *link, *request);
    }
    return MHD_YES;
}

MHD_Result ShareService::Impl::head(MHD_Connection *connection, Link &link, Request &request,
                                    const char *url, const char *method)
{
    request.method = method ? method : "";
    request.path = url ? url : "";
    request.client = link.peer;
    if (link.proxy)
        request.client = clientaddress(
            link.peer, MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Forwarded-For"),
            options_.proxies);

    const int fields = MHD_get_connection_values(connection, MHD_HEADER_KIND, nullptr, nullptr);
    if (fields < 0 || unsigned(fields) > kMaxHeaderFields)
        return reply(connection, link, request, MHD_HTTP_REQUEST_HEADER_FIELDS_TOO_LARGE,
                     "too many header fields", true);
    // Neither request carries a body: one is refused before it is read, and the connection
    // closes with the reply.
    const char *length =
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (MHD_lookup_connection_value(connection, MHD_HEADER_KIND,
                                    MHD_HTTP_HEADER_TRANSFER_ENCODING) ||
        (length && std::strcmp(length, "0") != 0))
        return reply(connection, link, request, MHD_HTTP_CONTENT_TOO_LARGE,
                     "a request carries no body", true);
    return MHD_YES;
}

MHD_Result ShareService::Impl::dispatch(MHD_Connection *connection, Link &link, Request &request)
{
    const bool isget = request.method == "GET";
    const bool ishead = request.method == "HEAD";
    const bool json = request.path == shareprotocol::kListsPath;
    if (json || request.path == shareprotocol::kPagePath) {
        if (!isget && !ishead)
            return reply(connection, link, request, MHD_HTTP_METHOD_NOT_ALLOWED, "GET only");
        const QueryParams params = parsequery(request.target);
        if (params.count(shareprotocol::kAppIdKey) != 1 ||
            params.find(shareprotocol::kAppIdKey)->second != shareprotocol::kAppId)
            return reply(connection, link, request, MHD_HTTP_BAD_REQUEST, "unknown appid");
        return page(connection, link, request, json);
    }
    if (request.path == shareprotocol::kSubmitPath) {
        // A look (HEAD) must not store anything.
        if (!isget)
            return reply(connection, link, request, MHD_HTTP_METHOD_NOT_ALLOWED, "GET only");
        return submit(connection, link, request);
    }
    return reply(connection, link, request, MHD_HTTP_NOT_FOUND, "not found");
}

MHD_Result ShareService::Impl::reply(MHD_Connection *connection, Link &link, Request &request,
                                     unsigned status, const std::string &text, bool close)
{
    MHD_Response *response = plainresponse(text, close || lastrequest(link));
    if (!response)
        return MHD_NO;
    if (status == MHD_HTTP_METHOD_NOT_ALLOWED)
        MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
    const MHD_Result queued = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    request.status = status;
    request.size = text.size() + 1;
    return queued;
}

MHD_Result ShareService::Impl::page(MHD_Connection *connection, Link &link, Request &request,
                                    bool json)
{
    const std::lock_guard<std::mutex> lock(pageMutex_);
    // A local store answers at once whether the lists changed; a shared one is asked at most
    // once per pageCheckMilliseconds.
    const Clock::time_point now = Clock::now();
    if (!page_ || pageDirty_ || db_.localversion() ||
        now - pageChecked_ >= std::chrono::milliseconds(options_.pageCheckMilliseconds)) {
        pageChecked_ = now;
        pageDirty_ = false;
        // When the store cannot tell its version the page is read again anyway; only a failed
        // read is logged.
        const DbResult<std::int64_t> version = db_.pageversion();
        if (!version || *version != pageVersion_ || !page_) {
            if (const DbStatus rebuilt = rebuildpage(version ? *version : -1); !rebuilt)
                std::fprintf(stderr, "database: %s\n", rebuilt.error().c_str());
        }
    }
    // A page that cannot be read again is served as it was last read.
    if (!page_)
        return reply(connection, link, request, MHD_HTTP_INTERNAL_SERVER_ERROR,
                     "the lists cannot be read");
    MHD_Response *response =
        json ? (lastrequest(link) ? lastJson_ : json_) : (lastrequest(link) ? lastPage_ : page_);
    request.status = MHD_HTTP_OK;
    request.size = json ? jsonSize_ : pageSize_;
    return MHD_queue_response(connection, MHD_HTTP_OK, response);
}

DbStatus ShareService::Impl::rebuildpage(std::int64_t version)
{
    const DbResult<PublishedLists> lists = db_.published(options_.pageCap);
    if (!lists)
        return failure(lists.error());
    QString heading = QStringLiteral("Vaskelio shared word lists");
    if (lists->total > lists->records.size())
        heading +=
            QStringLiteral(" (the newest %1 of %2)").arg(lists->records.size()).arg(lists->total);
    const QByteArray body = sharedpagetext(lists->records, heading).toUtf8();
    const QByteArray json = sharedlistsjson(lists->records, lists->total);
    const std::string total = std::to_string(lists->total);
    // The page's pair, then the JSON's; the second of each for a connection's last request.
    MHD_Response *made[4] = {};
    for (int k = 0; k < 4; ++k) {
        const QByteArray &bytes = k < 2 ? body : json;
        made[k] = MHD_create_response_from_buffer(std::size_t(bytes.size()),
                                                  const_cast<char *>(bytes.constData()),
                                                  MHD_RESPMEM_MUST_COPY);
        if (!made[k]) {
            for (MHD_Response *done : made)
                if (done)
                    MHD_destroy_response(done);
            return failure(std::string("out of memory"));
        }
        MHD_add_response_header(made[k], MHD_HTTP_HEADER_CONTENT_TYPE,
                                k < 2 ? "text/plain; charset=utf-8" : "application/json");
        MHD_add_response_header(made[k], "X-Content-Type-Options", "nosniff");
        // How many lists there are in all, when the page holds only the newest.
        MHD_add_response_header(made[k], "X-Total-Count", total.c_str());
        if (k % 2 == 1)
            MHD_add_response_header(made[k], MHD_HTTP_HEADER_CONNECTION, "close");
    }
    // Replies still being sent keep the old copies alive until they are done.
    for (MHD_Response *old : {page_, lastPage_, json_, lastJson_})
        if (old)
            MHD_destroy_response(old);
    page_ = made[0];
    lastPage_ = made[1];
    json_ = made[2];
    lastJson_ = made[3];
    pageSize_ = std::size_t(body.size());
    jsonSize_ = std::size_t(json.size());
    pageVersion_ = version;
    return {};
}

MHD_Result ShareService::Impl::submit(MHD_Connection *connection, Link &link, Request &request)
{
    auto checked = checksubmission(parsequery(request.target));
    if (!checked)
        return reply(connection, link, request, MHD_HTTP_BAD_REQUEST, checked.error());
    Job job{connection, &request, {}};
    job.entry.record = std::move(checked.value());
    job.entry.address = request.client;
    {
        const std::lock_guard<std::mutex> lock(jobsMutex_);
        if (!writing_)
            return reply(connection, link, request, MHD_HTTP_SERVICE_UNAVAILABLE,
                         "the service is stopping", true);
        // Suspended before the writer can resume it: the suspension happens on this thread
        // while the writer waits for the lock.
        MHD_suspend_connection(connection);
        jobs_.push_back(std::move(job));
        ++outstanding_;
        request.queued = true;
    }
    jobsReady_.notify_one();
    return MHD_YES;
}

void ShareService::Impl::write()
{
    const ShareDb::Status status =
        options_.publishAll ? ShareDb::Status::Approved : ShareDb::Status::Pending;
    for (;;) {
        std::vector<Job> batch;
        {
            std::unique_lock<std::mutex> lock(jobsMutex_);
            jobsReady_.wait(lock, [this] { return !jobs_.empty() || !writing_; });
            if (jobs_.empty())
                return;
            batch.swap(jobs_);
        }
        // Everything that came while the other batches were written goes in one transaction.
        std::vector<SubmitEntry> entries;
        entries.reserve(batch.size());
        for (Job &job : batch)
            entries.push_back(std::move(job.entry));
        const DbStatus stored = db_.submit(entries, status, options_.submitsPerHour);
        if (!stored)
            std::fprintf(stderr, "database: %s\n", stored.error().c_str());
        for (std::size_t k = 0; k < batch.size(); ++k) {
            Request &request = *batch[k].request;
            if (!stored) {
                request.replyStatus = MHD_HTTP_INTERNAL_SERVER_ERROR;
                request.replyText = "the list cannot be stored";
            } else if (entries[k].outcome == SubmitEntry::Outcome::Limited) {
                request.replyStatus = MHD_HTTP_TOO_MANY_REQUESTS;
                request.replyText = "more than " + std::to_string(options_.submitsPerHour) +
                                    " lists from one address within an hour; try again later";
            } else {
                request.replyStatus = MHD_HTTP_OK;
                request.replyText = "OK";
                if (status == ShareDb::Status::Approved)
                    pageDirty_ = true;
            }
            MHD_resume_connection(batch[k].connection);
        }
    }
}

void ShareService::Impl::completedcb(void *cls, MHD_Connection *connection, void **context,
                                     MHD_RequestTerminationCode)
{
    auto *self = static_cast<Impl *>(cls);
    auto *request = static_cast<Request *>(*context);
    const MHD_ConnectionInfo *info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    auto *link = info ? static_cast<Link *>(info->socket_context) : nullptr;
    if (request && link)
        self->finish(connection, *link, *request);
}

void ShareService::Impl::finish(MHD_Connection *connection, Link &link, Request &request)
{
    // A request the library answered (or dropped) without asking the service: what it knows.
    if (!request.handled) {
        request.client = link.peer;
        if (const MHD_ConnectionInfo *info =
                MHD_get_connection_info(connection, MHD_CONNECTION_INFO_HTTP_STATUS))
            request.status = info->http_status;
    }
    log(request);
    request.started = false;
    if (request.queued) {
        request.queued = false;
        {
            const std::lock_guard<std::mutex> lock(jobsMutex_);
            --outstanding_;
        }
        jobsDone_.notify_all();
    }
    const std::lock_guard<std::mutex> lock(linksMutex_);
    ++link.requests;
    link.awaitingHead = true;
    link.waitingSince = Clock::now();
}

void ShareService::Impl::log(const Request &request)
{
    // The path only: the query carries the players' names and lists.
    const std::string status = request.status ? std::to_string(request.status) : "-";
    const std::string size = request.size ? std::to_string(*request.size) : "-";
    std::fprintf(stderr, "%s %s %s %s %s %s\n", utcnow().c_str(), printable(request.client).c_str(),
                 printable(request.method).c_str(), printable(request.path).c_str(), status.c_str(),
                 size.c_str());
}

void ShareService::Impl::reap()
{
    // A connection that has not sent a whole request head within headSeconds of opening, or of
    // its last reply, is cut: slow clients cannot keep connections for long, whatever they
    // trickle.
    const auto limit = std::chrono::seconds(options_.headSeconds);
    std::unique_lock<std::mutex> stop(stopMutex_);
    while (!stopping_.wait_for(stop, std::chrono::milliseconds(250), [this] { return stopped_; })) {
        const Clock::time_point now = Clock::now();
        const std::lock_guard<std::mutex> lock(linksMutex_);
        for (Link *link : links_)
            if (link->awaitingHead && !link->cut && now - link->waitingSince > limit &&
                link->fd >= 0) {
                shutdown(link->fd, SHUT_RDWR);
                link->cut = true;
            }
    }
}

void ShareService::Impl::errorlogcb(void *, const char *format, va_list args)
{
    char message[512];
    std::vsnprintf(message, sizeof message, format, args);
    std::string line = message;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    std::fprintf(stderr, "http: %s\n", line.c_str());
}
