#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// The loopback HTTP server of the downloader tests, started as a child
// process (DWN_HTTP_SERVER is its path).
class TestServer
{
public:
    bool start()
    {
        m_process.start(QStringLiteral(DWN_HTTP_SERVER), {QStringLiteral("0")});
        if (!m_process.waitForStarted(5000))
            return false;
        while (m_process.canReadLine() || m_process.waitForReadyRead(5000)) {
            if (!m_process.canReadLine())
                continue; // a line may come in pieces
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("PORT ")) {
                m_port = line.mid(5).toInt();
                return m_port > 0;
            }
        }
        return false;
    }
    ~TestServer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(2000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
    }
    int port() const { return m_port; }

    // The bodies' pattern: byte i is i % 251.
    static QByteArray pattern(qint64 n)
    {
        QByteArray b(int(n), Qt::Uninitialized);
        for (qint64 i = 0; i < n; ++i)
            b[int(i)] = char(i % 251);
        return b;
    }

private:
    QProcess m_process;
    int m_port = 0;
};

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
