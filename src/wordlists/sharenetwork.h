#pragma once

#include <QNetworkRequest>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// Requests to the sharing service time out after this long in all, so that none waits forever.
inline constexpr int kShareTimeoutMs = 20000;
// A page larger than this is no page of word lists; its download is abandoned.
inline constexpr qint64 kSharePageLimit = 8 * 1024 * 1024;

// A GET of url over HTTP/1.1 that does not follow redirects.
QNetworkRequest sharerequest(const QUrl &url);

// Sends request and aborts the reply when it has not finished within timeoutMs. The caller owns
// the reply.
QNetworkReply *shareget(QNetworkAccessManager &network, const QNetworkRequest &request,
                        int timeoutMs);

// A finished reply that arrived whole with a 2xx status. A redirect is no success.
bool sharesucceeded(const QNetworkReply &reply);
