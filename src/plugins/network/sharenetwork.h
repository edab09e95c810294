#pragma once

#include "listdialogs/shareclient.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QString>

class QNetworkReply;
class QUrl;

// A GET of url over HTTP/1.1 that does not follow redirects.
QNetworkRequest sharerequest(const QUrl &url);

// Sends request and aborts the reply when it has not finished within timeoutMs, or as soon as it
// announces or holds more than maxBytes, however fast it arrives (then sharetoolarge() is true).
// The caller owns the reply.
QNetworkReply *shareget(QNetworkAccessManager &network, const QNetworkRequest &request,
                        int timeoutMs, qint64 maxBytes);

// A finished reply that arrived whole with a 2xx status. A redirect is no success.
bool sharesucceeded(const QNetworkReply &reply);
// The reply was abandoned for its size.
bool sharetoolarge(const QNetworkReply &reply);
// Why the service refused a request: the first line of a 400 or 429 reply, at most 200
// characters without control characters; empty for any other reply.
QString sharereason(QNetworkReply &reply);

// The client the network component hands out: one access manager, its requests' answers.
class NetworkShareClient : public ShareClient {
public:
    ~NetworkShareClient() override;
    void get(const QUrl &url, const ShareFields &fields, int timeoutMs, qint64 maxBytes,
             Done done) override;
    void cancel() override;

private:
    QNetworkAccessManager network_;
    QList<QNetworkReply *> pending_;
};
