#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

class QUrl;

// Requests to the sharing service time out after this long in all, so that none waits forever.
inline constexpr int kShareTimeoutMs = 20000;
// A submission's reply is a short line; anything longer is not read.
inline constexpr qint64 kShareReplyLimit = 64 * 1024;

using ShareFields = QList<std::pair<QByteArray, QByteArray>>;

// How a request to the sharing service ended.
struct ShareAnswer {
    // It arrived whole with a 2xx status. A redirect is no success.
    bool succeeded = false;
    // It was abandoned for its size.
    bool tooLarge = false;
    // The HTTP status of the reply; 0 when none came (no connection, too slow).
    int status = 0;
    // Why the service refused it: the first line of a 400 or 429 reply, at most 200 characters
    // without control characters; empty for any other reply.
    QString reason;
    // The body and header fields of a success.
    QByteArray body;
    ShareFields headers;

    QByteArray header(const QByteArray &name) const
    {
        for (const auto &[field, value] : headers)
            if (field.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        return {};
    }
};

// GETs to the sharing service over HTTP/1.1 that do not follow redirects. The network code is a
// component of its own (vaskelio-network), loaded at the first request.
class ShareClient {
public:
    using Done = std::function<void(const ShareAnswer &)>;

    virtual ~ShareClient() = default;

    // Sends a GET of url with the header fields given and calls done once, from the event loop,
    // when it has ended: aborted when it has not finished within timeoutMs, or as soon as it
    // announces or holds more than maxBytes, however fast it arrives.
    virtual void get(const QUrl &url, const ShareFields &fields, int timeoutMs, qint64 maxBytes,
                     Done done) = 0;
    // Drops every request on its way; their done is not called.
    virtual void cancel() = 0;
};

// What the network component's root object implements.
class ShareClientFactory {
public:
    virtual ~ShareClientFactory() = default;
    virtual std::unique_ptr<ShareClient> newShareClient() = 0;
};

#define VASKELIO_SHARECLIENT_IID "org.vaskelio.ShareClientFactory/1"
Q_DECLARE_INTERFACE(ShareClientFactory, VASKELIO_SHARECLIENT_IID)

inline constexpr char kNetworkComponent[] = "vaskelio-network";

// A client from the network component, or null when the component cannot be loaded.
std::unique_ptr<ShareClient> loadshareclient();
