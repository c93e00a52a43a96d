#include "updater/download.h"

#include "app/prompts.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <memory>

QString UpdateBaseAddress() {
    QString address = qEnvironmentVariable("RENOVO_UPDATE_URL");
    if (address.isEmpty())
        address = QStringLiteral(RENOVO_DEFAULT_UPDATE_URL);
    while (address.endsWith(u'/'))
        address.chop(1);
    return address;
}

QString UpdateHostName(const QString& baseAddress) {
    return QUrl(baseAddress).host();
}

QString HostToIP(const QString& hostName) {
    if (hostName.isEmpty())
        return QString();
    QHostInfo info;
    bool done = false;
    QEventLoop loop;
    QHostInfo::lookupHost(hostName, &loop, [&](const QHostInfo& result) {
        info = result;
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    const QList<QHostAddress> addresses = info.addresses();
    for (const QHostAddress& address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    }
    return addresses.isEmpty() ? QString() : addresses.constFirst().toString();
}

THttpClient::THttpClient(QObject* parent)
    : QObject(parent) {}

std::optional<QByteArray> THttpClient::Get(const QString& url) {
    Q_EMIT work(0);
    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    const std::unique_ptr<QNetworkReply> reply(m_manager.get(request));
    bool begun = false;
    connect(reply.get(), &QNetworkReply::downloadProgress, this, [&](qint64 received, qint64 total) {
        if (!begun) {
            begun = true;
            Q_EMIT workBegin(total);
        }
        Q_EMIT work(received);
    });
    if (!reply->isFinished()) {
        QEventLoop loop;
        connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // The loop also ends when the application is told to quit.
    if (!reply->isFinished()) {
        reply->abort();
        return std::nullopt;
    }
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply->error() != QNetworkReply::NoError || (status.isValid() && status.toInt() / 100 != 2))
        return std::nullopt;
    return reply->readAll();
}

bool DownLoadFile(THttpClient& http, const QString& url, const QString& localFile) {
    const std::optional<QByteArray> body = http.Get(url);
    if (!body)
        return false;
    const QString folder = localFile.left(localFile.lastIndexOf(u'/'));
    // The whole folder path is made: a local name may lie several folders
    // down, and the download folder starts out empty.
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        ShowMessage(QStringLiteral("创建本地文件夹失败，请以管理员身份登陆操作系统！"));
        return false;
    }
    QFile file(localFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(*body) != body->size() ||
        !file.flush()) {
        ShowMessage(QStringLiteral("创建本地文件失败，请以管理员身份登陆操作系统！"));
        return false;
    }
    return true;
}
