#pragma once

#include "ScriptObject.h"

#include <QPointer>

class ScriptControl;

// The object "AppControl" that every app's script is given: its way to the
// browser (tabs, navigation, lock, history, downloads, files, pauses) and to
// its own end. One per running app; only its engine holds it.
class AppControl : public ScriptObject
{
public:
    AppControl() = default;

    // Index of the app's own engine in the engine array.
    qint32 scIndex = 0;
    // The engine itself: a sleep ends early once that engine has been ended.
    void setEngine(ScriptControl *engine);

    // The members, as the script calls them.
    void AppSleep(qint32 dwMilliseconds);
    void GoToUrl(const QString &sUrl);
    void AddTab();
    QString AppPath();
    QString GetFile(const QString &sPath);
    void OpenPassword();
    void DelBrwHistory();
    void DelInuptHistory();
    void NewDownload(const QString &sUrl, const QString &sPath);
    void EndApp();

    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override;
    QStringList memberNames() const override;
    QString typeName() const override { return QStringLiteral("AppControl"); }

private:
    bool EngineEnded() const;
    QPointer<ScriptControl> m_engine;
    bool m_hasEngine = false;
};
