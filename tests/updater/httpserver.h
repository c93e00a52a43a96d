#pragma once
// A small HTTP server on 127.0.0.1 for the updater's tests: answers GET with
// the files it was given, redirects the paths it was told to, and 404 for the
// rest. It runs in the test's own thread, so the test must keep events flowing
// (QTRY_*, QTest::qWait) while a client waits for it.

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class TestHttpServer : public QObject {
    Q_OBJECT
public:
    // Listens on a free port of 127.0.0.1; false when it cannot.
    bool listen();
    // "http://127.0.0.1:port"
    QString baseAddress() const;

    // path begins with "/" and is matched after percent-decoding.
    void setFile(const QString& path, const QByteArray& body) { m_files.insert(path, body); }
    void setRedirect(const QString& path, const QString& target) { m_redirects.insert(path, target); }
    // The decoded paths asked for, in order.
    QStringList requests() const { return m_requests; }

    // A port of 127.0.0.1 on which nothing listens.
    static quint16 closedPort();

private:
    void serve();
    void answer(class QTcpSocket* socket, const QByteArray& request);

    QTcpServer m_server;
    QHash<QString, QByteArray> m_files;
    QHash<QString, QString> m_redirects;
    QStringList m_requests;
};
