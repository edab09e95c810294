#pragma once

#include <QByteArray>
#include <QElapsedTimer>
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

// The real vaskelio-share on a free local port, with a store of its own: an SQLite file in a
// temporary folder unless store names another (a file or a PostgreSQL URI).
class ShareServer {
public:
    explicit ShareServer(const QString &store = {}, const QStringList &extra = {})
        : store_(store.isEmpty() ? dir_.filePath(QStringLiteral("share.db")) : store)
    {
        // Loopback only, whatever proxy the environment names.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QStringList arguments{"serve", "--db", store_, "--port", "0"};
        // A review is seen at the next page request, whatever the store.
        if (store_.startsWith(QStringLiteral("postgresql:")))
            arguments << "--page-check"
                      << "0";
        process_.start(QStringLiteral(VASKELIO_SHARE_BIN), arguments + extra);
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
    QString db() const { return store_; }
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
    QString store_;
    QProcess process_;
    QString base_;
    QByteArray log_;
};

struct HttpReply {
    int status = 0;
    QByteArray body;
    QList<QNetworkReply::RawHeaderPair> headers;
    QByteArray header(const QByteArray &name) const
    {
        for (const auto &[key, value] : headers)
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        return {};
    }
};

// A GET (or HEAD) of an address already percent-encoded, with extra header fields, waited for.
// Its connection closes with it, so that the server need not wait for it to idle out when it
// stops.
inline HttpReply httpget(const QByteArray &address, bool head = false,
                         const QList<std::pair<QByteArray, QByteArray>> &fields = {})
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl::fromEncoded(address));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    for (const auto &[name, value] : fields)
        request.setRawHeader(name, value);
    std::unique_ptr<QNetworkReply> reply(head ? network.head(request) : network.get(request));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!reply->isFinished() && !finished.wait(10000))
        return {};
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
            reply->rawHeaderPairs()};
}

// A raw connection to a local port, from a chosen loopback address (each address of
// 127.0.0.0/8 is a client of its own to the server).
class RawClient {
public:
    explicit RawClient(quint16 port, const QString &from = QStringLiteral("127.0.0.1"))
    {
        socket_.bind(QHostAddress(from));
        socket_.connectToHost(QHostAddress::LocalHost, port);
        socket_.waitForConnected(5000);
    }
    bool connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    void send(const QByteArray &bytes)
    {
        socket_.write(bytes);
        socket_.flush();
    }
    // What arrives until text has come and the connection stays quiet for a moment, or it closes
    // (whichever first), within ms.
    QByteArray receive(const QByteArray &until = "\r\n\r\n", int ms = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms && socket_.state() == QAbstractSocket::ConnectedState &&
               !received_.contains(until)) {
            socket_.waitForReadyRead(100);
            received_ += socket_.readAll();
        }
        // The rest of a reply whose head has come.
        while (socket_.state() == QAbstractSocket::ConnectedState && socket_.waitForReadyRead(200))
            received_ += socket_.readAll();
        received_ += socket_.readAll();
        return received_;
    }
    // Waits up to ms for the server to close the connection; true when it did.
    bool closedbypeer(int ms = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms && socket_.state() == QAbstractSocket::ConnectedState) {
            socket_.waitForReadyRead(100);
            received_ += socket_.readAll();
        }
        return socket_.state() != QAbstractSocket::ConnectedState;
    }

private:
    QTcpSocket socket_;
    QByteArray received_;
};

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
