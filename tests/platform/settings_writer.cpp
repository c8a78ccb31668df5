// A second program writing the same settings files, for the settings lock
// tests. Every write goes through the browser's own settings door.
//   settings_writer ini <file> <section> <prefix> <count>
//     writes the keys <prefix>0 ... <prefix><count-1>, each with the value
//     "值" followed by its key.
//   settings_writer history <program-folder> <prefix> <count>
//     adds the typed addresses <prefix>0 ... to the input history.
//   settings_writer spin <file> <section>
//     rewrites the key "Spin" over and over until it is killed.
#include "Files.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("ini") && args.size() == 6) {
        const int count = args.at(5).toInt();
        for (int i = 0; i < count; ++i) {
            const QString key = args.at(4) + QString::number(i);
            WriteIni(args.at(3), key, QStringLiteral("值") + key, args.at(2));
        }
        return 0;
    }
    if (mode == QLatin1String("history") && args.size() == 5) {
        setProgramFolderOverride(args.at(2));
        const int count = args.at(4).toInt();
        for (int i = 0; i < count; ++i)
            AddInputHis(args.at(3) + QString::number(i));
        return 0;
    }
    if (mode == QLatin1String("spin") && args.size() == 4) {
        for (quint64 i = 0;; ++i)
            WriteIni(args.at(3), QStringLiteral("Spin"), QString::number(i), args.at(2));
    }
    return 2;
}
