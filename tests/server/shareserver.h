#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The real vaskelio-share on a free local port with a database of its own.
class ShareServer {
public:
    explicit ShareServer(const QStringList &extra = {})
    {
        // Loopback only, whatever proxy the environment names.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        process_.start(QStringLiteral(VASKELIO_SHARE_BIN),
                       QStringList{"serve", "--db", db(), "--port", "0"} + extra);
        QByteArray out;
        while (!out.contains('\n') && process_.waitForReadyRead(10000))
            out += process_.readAllStandardOutput();
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("listening on (http://\\S+)")).match(out);
        base_ = match.captured(1);
    }
    ~ShareServer() { stop(); }
    // Ends it as a service manager would; its log is then complete.
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        process_.waitForFinished(10000);
    }

    bool running() const { return !base_.isEmpty(); }
    QString base() const { return base_; }
    QString db() const { return dir_.filePath(QStringLiteral("share.db")); }
    // What it logged so far, one line per request, written after each reply.
    QByteArray log() { return log_ += process_.readAllStandardError(); }

    // A review command on the same database: its exit code and standard output.
    std::pair<int, QString> review(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral(VASKELIO_SHARE_BIN), arguments + QStringList{"--db", db()});
        tool.waitForFinished(10000);
        return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
                QString::fromUtf8(tool.readAllStandardOutput())};
    }
    // The ids of the pending submissions, oldest first.
    QStringList pendingIds()
    {
        QStringList ids;
        for (const QString &line : review({"pending"}).second.split(u'\n', Qt::SkipEmptyParts))
            ids.append(line.section(u'\t', 0, 0));
        return ids;
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString base_;
    QByteArray log_;
};

struct HttpReply {
    int status = 0;
    QByteArray body;
};

// A GET (or HEAD) of an address already percent-encoded, waited for. Its connection closes with it,
// so that the server need not wait for it to idle out when it stops.
inline HttpReply httpget(const QByteArray &address, bool head = false)
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl::fromEncoded(address));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    std::unique_ptr<QNetworkReply> reply(head ? network.head(request) : network.get(request));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!reply->isFinished() && !finished.wait(10000))
        return {};
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
}

// A local HTTP server that answers every request with one fixed reply (none at all when silent)
// and keeps each request's head as it came.
class StubServer : public QObject {
public:
    explicit StubServer(QByteArray reply) : reply_(std::move(reply))
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    pending_ += socket->readAll();
                    if (!pending_.contains("\r\n\r\n"))
                        return;
                    requests.append(pending_.left(pending_.indexOf("\r\n\r\n")));
                    pending_.clear();
                    if (reply_.isEmpty())
                        return;
                    socket->write(reply_);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    static QByteArray status(int code, const QByteArray &extra = {}, const QByteArray &body = {})
    {
        return "HTTP/1.1 " + QByteArray::number(code) + " Stub\r\nConnection: close\r\n" + extra +
               "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
    void setreply(QByteArray reply) { reply_ = std::move(reply); }

    QList<QByteArray> requests;

private:
    QTcpServer server_;
    QByteArray reply_;
    QByteArray pending_;
};
