#pragma once
// The update server: its address, the reachability check and the blocking
// download that every transfer of the updater uses.

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <optional>

// Scheme and host of the update server without a trailing "/": the address
// fixed at build time, or the one in the environment variable RENOVO_UPDATE_URL.
QString UpdateBaseAddress();
// The host of a base address, for the reachability check.
QString UpdateHostName(const QString& baseAddress);

// The dotted address of a host (its first IPv4 address, else its first
// address), or an empty text when the name does not resolve. Events keep being
// processed during the lookup.
QString HostToIP(const QString& hostName);

// An HTTP client whose requests block the caller while events keep being
// processed, so the window repaints and its progress bar moves.
class THttpClient : public QObject {
    Q_OBJECT
public:
    explicit THttpClient(QObject* parent = nullptr);

    // The body of a GET of url, redirects followed; nothing on any failure
    // (no connection, an error status). There is no time limit.
    std::optional<QByteArray> Get(const QString& url);

Q_SIGNALS:
    // The transfer of a body begins; total is its expected size, -1 if unknown.
    void workBegin(qint64 total);
    // Bytes of the body received so far (0 when a request starts).
    void work(qint64 done);

private:
    QNetworkAccessManager m_manager;
};

// Fetches url into localFile, creating or overwriting it. False when the
// fetch fails (without a message), and when the folder of localFile (created
// when missing) or the file cannot be created (with a message).
bool DownLoadFile(THttpClient& http, const QString& url, const QString& localFile);
