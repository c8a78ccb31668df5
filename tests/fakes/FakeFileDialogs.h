#pragma once

#include "FileDialogs.h"

#include <QList>
#include <QStringList>

// For tests: installs itself for its lifetime, records every dialog and
// answers from a queue of paths (then "", a cancel).
class FakeFileDialogs : public FileDialogImpl
{
public:
    FakeFileDialogs();
    ~FakeFileDialogs() override;

    QString choose(const FileDialogRequest &request, QWidget *parent) override;

    void queueAnswer(const QString &path) { m_answers.append(path); }
    const QList<FileDialogRequest> &asked() const { return m_asked; }

private:
    FileDialogImpl *m_previous = nullptr;
    QList<FileDialogRequest> m_asked;
    QStringList m_answers;
};
