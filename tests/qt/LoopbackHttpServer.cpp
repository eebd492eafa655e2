#include "LoopbackHttpServer.h"

#include <QTcpSocket>

TLoopbackHttpServer::TLoopbackHttpServer()
{
    m_server.listen(QHostAddress::LocalHost);
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(*socket); });
        }
    });
}

QString TLoopbackHttpServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

quint16 TLoopbackHttpServer::ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

void TLoopbackHttpServer::Answer(QTcpSocket& socket)
{
    const QByteArray request = socket.readAll();
    const QByteArray path = request.split(' ').value(1);
    m_requested.insert(path);
    if (m_held.contains(path))
        return;
    const bool known = m_pages.contains(path);
    const QByteArray body = known ? m_pages.value(path) : QByteArray("<html><body>Not found</body></html>");
    socket.write((known ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
                 + QByteArray("Content-Type: text/html\r\nConnection: close\r\nContent-Length: ")
                 + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    socket.disconnectFromHost();
}
