#pragma once

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QTcpServer>

// A tiny HTTP server on 127.0.0.1 that answers GET requests for the paths it
// was given with their HTML, holds those it was told to, and answers every
// other path with 404.
class TLoopbackHttpServer
{
public:
    TLoopbackHttpServer();

    void Serve(const QByteArray& path, const QByteArray& html) { m_pages[path] = html; }
    // Requests for path are taken and never answered.
    void Hold(const QByteArray& path) { m_held.insert(path); }
    bool Requested(const QByteArray& path) const { return m_requested.contains(path); }
    QString Url(const QString& path) const;
    // A loopback port on which nothing listens.
    static quint16 ClosedPort();

private:
    void Answer(QTcpSocket& socket);

    QTcpServer m_server;
    QMap<QByteArray, QByteArray> m_pages;
    QSet<QByteArray> m_held;
    QSet<QByteArray> m_requested;
};
