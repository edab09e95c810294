#include "wordlists/sharenetwork.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

QNetworkRequest sharerequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    return request;
}

QNetworkReply *shareget(QNetworkAccessManager &network, const QNetworkRequest &request,
                        int timeoutMs)
{
    QNetworkReply *reply = network.get(request);
    // The transfer time-out of Qt restarts with every byte; this one bounds the whole request.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
    deadline->start(timeoutMs);
    return reply;
}

bool sharesucceeded(const QNetworkReply &reply)
{
    if (!reply.isFinished() || reply.error() != QNetworkReply::NoError)
        return false;
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 200 && status <= 299;
}
