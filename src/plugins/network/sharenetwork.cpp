#include "network/sharenetwork.h"

#include "text/textrules.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace {
const char tooLarge[] = "vaskelio.toolarge";

void refuse(QNetworkReply *reply)
{
    if (reply->isFinished())
        return;
    reply->setProperty(tooLarge, true);
    reply->abort();
}
} // namespace

QNetworkRequest sharerequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    return request;
}

QNetworkReply *shareget(QNetworkAccessManager &network, const QNetworkRequest &request,
                        int timeoutMs, qint64 maxBytes)
{
    QNetworkReply *reply = network.get(request);
    // The transfer time-out of Qt restarts with every byte; this one bounds the whole request.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
    deadline->start(timeoutMs);

    // Qt stops reading from the connection while its buffer is full, so a fast sender cannot
    // fill the memory before the checks below see the excess. It stops short of the last chunk
    // of room, so the buffer has room enough to pass the limit by far.
    reply->setReadBufferSize(2 * maxBytes + 64 * 1024);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, maxBytes] {
        bool known = false;
        const qint64 announced =
            reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && announced > maxBytes)
            refuse(reply);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, maxBytes] {
        if (reply->bytesAvailable() > maxBytes)
            refuse(reply);
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply, maxBytes](qint64 received, qint64) {
                         if (received > maxBytes)
                             refuse(reply);
                     });
    return reply;
}

bool sharesucceeded(const QNetworkReply &reply)
{
    if (!reply.isFinished() || reply.error() != QNetworkReply::NoError || sharetoolarge(reply))
        return false;
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 200 && status <= 299;
}

bool sharetoolarge(const QNetworkReply &reply)
{
    return reply.property(tooLarge).toBool();
}

QString sharereason(QNetworkReply &reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if ((status != 400 && status != 429) || sharetoolarge(reply))
        return {};
    const QByteArray body = reply.read(kShareReplyLimit);
    const qsizetype end = body.indexOf('\n');
    QString line = QString::fromUtf8(end < 0 ? body : body.left(end));
    line.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
    return trimmedBlanks(line).left(200).toString();
}

NetworkShareClient::~NetworkShareClient()
{
    cancel();
}

void NetworkShareClient::get(const QUrl &url, const ShareFields &fields, int timeoutMs,
                             qint64 maxBytes, Done done)
{
    QNetworkRequest request = sharerequest(url);
    for (const auto &[name, value] : fields)
        request.setRawHeader(name, value);
    QNetworkReply *reply = shareget(network_, request, timeoutMs, maxBytes);
    pending_.append(reply);
    QObject::connect(
        reply, &QNetworkReply::finished, &network_, [this, reply, done = std::move(done)] {
            reply->deleteLater();
            if (!pending_.removeOne(reply))
                return; // cancelled
            ShareAnswer answer;
            answer.succeeded = sharesucceeded(*reply);
            answer.tooLarge = sharetoolarge(*reply);
            answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            if (answer.succeeded) {
                answer.body = reply->readAll();
                for (const auto &[name, value] : reply->rawHeaderPairs())
                    answer.headers.append({name, value});
            } else {
                answer.reason = sharereason(*reply);
            }
            done(answer);
        });
}

void NetworkShareClient::cancel()
{
    for (QNetworkReply *reply : std::exchange(pending_, {})) {
        reply->abort();
        reply->deleteLater();
    }
}
