// A stand-in for a program start, used by the instance channel tests.
//   instance_probe first <service> <record-folder> <count>
//     must become the first instance; prints "READY", writes each request it
//     receives into <record-folder>/<n>.txt (UTF-8) and ends after <count>
//     requests (exit 0) or after 30 s (exit 4). Not first: exit 3.
//   instance_probe second <service> <command-file>
//     a later start: sends the UTF-8 text of <command-file>; exit 0 when
//     acknowledged, 1 on failure, 5 when it unexpectedly became the server.
//   instance_probe race <service> <hold-ms>
//     a start of many at once: the one that becomes the first instance serves
//     for <hold-ms> and prints "SERVER <requests received>"; the others send
//     "race" and print "CLIENT 1" (acknowledged) or "CLIENT 0".
#include "DDESend.h"
#include "InstanceChannel.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    const QString mode = args.at(1);
    InstanceChannel channel(args.at(2));

    if (mode == QLatin1String("first")) {
        if (!channel.listen())
            return 3;
        const QString folder = args.at(3);
        const int count = args.value(4).toInt();
        int received = 0;
        QObject::connect(&channel, &InstanceChannel::requestReceived, &app, [&](const QString &command) {
            QFile out(folder + QLatin1Char('/') + QString::number(received) + QStringLiteral(".txt"));
            if (out.open(QIODevice::WriteOnly))
                out.write(command.toUtf8());
            out.close();
            if (++received >= count)
                app.exit(0);
        });
        QTimer::singleShot(30000, &app, [&app] { app.exit(4); });
        std::printf("READY\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (mode == QLatin1String("second")) {
        if (channel.listen())
            return 5;
        QFile in(args.at(3));
        if (!in.open(QIODevice::ReadOnly))
            return 2;
        return DDESend(args.at(2), QString::fromUtf8(in.readAll())) ? 0 : 1;
    }
    if (mode == QLatin1String("race")) {
        const bool server = channel.listen();
        if (!server) {
            // A later start forwards at once, possibly before the winner listens.
            const bool sent = DDESend(args.at(2), QStringLiteral("race"));
            std::printf("CLIENT %d\n", sent ? 1 : 0);
            return 0;
        }
        int received = 0;
        QObject::connect(&channel, &InstanceChannel::requestReceived, &app, [&received] { ++received; });
        QTimer::singleShot(args.at(3).toInt(), &app, &QCoreApplication::quit);
        const int rc = app.exec();
        std::printf("SERVER %d\n", received);
        return rc;
    }
    return 2;
}
