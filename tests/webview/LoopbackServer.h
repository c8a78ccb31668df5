#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

// A small HTTP server on 127.0.0.1 for the web view tests. Each route answers
// with a fixed status, headers and body; every request's path and headers are
// recorded.
class LoopbackServer : public QObject
{
    Q_OBJECT
public:
    struct Response
    {
        int status = 200;
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
    };
    struct Request
    {
        QByteArray method;
        QByteArray path;
        QMap<QByteArray, QByteArray> headers; // names lower-cased
    };

    explicit LoopbackServer(QObject *parent = nullptr);
    bool start();
    quint16 port() const;
    QString url(const QString &path) const;

    void route(const QByteArray &path, const Response &r) { m_routes[path] = r; }
    void page(const QByteArray &path, const QByteArray &html) { m_routes[path] = Response{200, "text/html; charset=utf-8", html, {}}; }
    const QList<Request> &requests() const { return m_requests; }
    // The recorded requests for path (query included).
    QList<Request> requestsFor(const QByteArray &path) const;

private:
    void serve(QTcpSocket *socket);
    QTcpServer *m_server = nullptr;
    QMap<QByteArray, Response> m_routes;
    QList<Request> m_requests;
};
