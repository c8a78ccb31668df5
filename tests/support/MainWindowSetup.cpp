#include "MainWindowSetup.h"

#include "Files.h"
#include "PackageCopy.h"
#include "ProgramFolder.h"
#include "frmMain.h"

#include <QTest>

frmMain *OpenMainWindow(const QString &folder, const QList<QPair<QString, QString>> &settings)
{
    if (!CopyPackage(folder))
        return nullptr;
    setProgramFolderOverride(folder);
    WriteSet(QStringLiteral("OnOpen"), QStringLiteral("3"));
    WriteSet(QStringLiteral("AutoDelete"), QStringLiteral("0"));
    for (const auto &s : settings)
        WriteSet(s.first, s.second);
    auto *w = new frmMain;
    if (!w->LoadTheme()) {
        delete w;
        return nullptr;
    }
    w->resize(900, 600);
    w->show();
    if (!QTest::qWaitForWindowExposed(w)) {
        delete w;
        return nullptr;
    }
    w->AddPage();
    return w;
}
