#include "LoopbackServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

LoopbackServer::LoopbackServer(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, this, [this, s] { serve(s); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

bool LoopbackServer::start()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 LoopbackServer::port() const
{
    return m_server->serverPort();
}

QString LoopbackServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

QList<LoopbackServer::Request> LoopbackServer::requestsFor(const QByteArray &path) const
{
    QList<Request> out;
    for (const Request &r : m_requests) {
        if (r.path == path)
            out.append(r);
    }
    return out;
}

void LoopbackServer::serve(QTcpSocket *socket)
{
    QByteArray buffer = socket->property("buf").toByteArray() + socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("buf", buffer);
        return;
    }
    Request req;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    req.method = first.value(0);
    req.path = first.value(1);
    int contentLength = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines[i].indexOf(':');
        if (colon > 0) {
            const QByteArray name = lines[i].left(colon).trimmed().toLower();
            req.headers[name] = lines[i].mid(colon + 1).trimmed();
            if (name == "content-length")
                contentLength = lines[i].mid(colon + 1).trimmed().toInt();
        }
    }
    if (buffer.size() < end + 4 + contentLength) {
        socket->setProperty("buf", buffer);
        return;
    }
    socket->setProperty("buf", QByteArray());
    m_requests.append(req);
    QByteArray routeKey = req.path;
    if (!m_routes.contains(routeKey))
        routeKey = routeKey.left(routeKey.indexOf('?') < 0 ? routeKey.size() : routeKey.indexOf('?'));
    Response r;
    if (m_routes.contains(routeKey))
        r = m_routes.value(routeKey);
    else
        r = Response{404, "text/html; charset=utf-8", "<html><head><title>Not Found</title></head><body>404</body></html>", {}};
    QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status) + " X\r\nContent-Type: " + r.contentType
        + "\r\nContent-Length: " + QByteArray::number(r.body.size()) + "\r\nConnection: close\r\n";
    for (const auto &h : r.headers)
        out += h.first + ": " + h.second + "\r\n";
    out += "\r\n" + r.body;
    socket->write(out);
    socket->disconnectFromHost();
}
