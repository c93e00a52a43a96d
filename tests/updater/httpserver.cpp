#include "httpserver.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QUrl>

bool TestHttpServer::listen() {
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::serve);
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString TestHttpServer::baseAddress() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

quint16 TestHttpServer::closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void TestHttpServer::serve() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            QByteArray request = socket->property("request").toByteArray() + socket->readAll();
            socket->setProperty("request", request);
            if (request.contains("\r\n\r\n"))
                answer(socket, request);
        });
    }
}

void TestHttpServer::answer(QTcpSocket* socket, const QByteArray& request) {
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = words.size() >= 2 ? QUrl::fromPercentEncoding(words[1]) : QString();
    m_requests.append(path);
    QByteArray head;
    QByteArray body;
    if (m_redirects.contains(path)) {
        head = "HTTP/1.1 302 Found\r\nLocation: " + m_redirects.value(path).toUtf8() + "\r\n";
    } else if (m_files.contains(path)) {
        head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n";
        body = m_files.value(path);
    } else {
        head = "HTTP/1.1 404 Not Found\r\n";
        body = "not found";
    }
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
    socket->write(head + body);
    socket->disconnectFromHost();
}
