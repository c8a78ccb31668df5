#include "FileDialogs.h"

#include "MessageBoxes.h"
#include "QtFileDialogs.h"

#include <QFileInfo>
#include <QStringList>

namespace {
FileDialogImpl *&current()
{
    static FileDialogImpl *impl = nullptr;
    return impl;
}
} // namespace

void FileDialogs::setImpl(FileDialogImpl *impl)
{
    current() = impl;
}

FileDialogImpl *FileDialogs::impl()
{
    static QtFileDialogs real;
    return current() ? current() : &real;
}

QString FileDialogs::getOpenFileName(QWidget *parent, const QString &filter, const QString &title,
                                     const QString &folder)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Open;
    request.title = title;
    request.filter = filter;
    request.folder = folder;
    return impl()->choose(request, parent);
}

QString FileDialogs::getSaveFileName(QWidget *parent, const QString &filter, const QString &title,
                                     const QString &initialName, const QString &folder)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Save;
    request.title = title;
    request.filter = filter;
    request.initialName = initialName;
    request.folder = folder;
    return impl()->choose(request, parent);
}

bool FileDialogs::mayWrite(QWidget *parent, const QString &path)
{
    // A link left behind counts as a file: writing would replace it.
    const QFileInfo fi(path);
    if (!fi.exists() && !fi.isSymLink())
        return true;
    MsgBoxRequest request;
    request.text = path + QStringLiteral(" 已存在。\r\n要替换它吗？");
    request.buttons = MsgButtons::YesNo;
    request.icon = MsgIcon::Exclamation;
    request.title = QStringLiteral("确认另存为");
    // Enter alone never replaces a file.
    request.secondIsDefault = true;
    return MessageBoxes::impl()->ask(request, parent) == MsgAnswer::Yes;
}

QString FileDialogs::qtFilter(const QString &filter)
{
    if (!filter.contains(QChar(0)))
        return filter;
    QStringList parts = filter.split(QChar(0));
    while (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt reads the patterns from the last parentheses of each entry.
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    if (parts.size() % 2 == 1 && !parts.last().isEmpty())
        entries << parts.last();
    return entries.join(QStringLiteral(";;"));
}
