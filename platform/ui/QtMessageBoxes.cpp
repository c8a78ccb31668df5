#include "QtMessageBoxes.h"

#include "ModalDialog.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace {
QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MsgAnswer QtMessageBoxes::ask(const MsgBoxRequest &request, QWidget *parent)
{
    QMessageBox box(qtIcon(request.icon), request.title, request.text, QMessageBox::NoButton, parent);
    // Texts carry names and addresses from outside: never markup.
    box.setTextFormat(Qt::PlainText);
    const auto add = [&box](QMessageBox::StandardButton b, const QString &caption) {
        box.addButton(b)->setText(caption);
    };
    MsgAnswer onClose = MsgAnswer::Ok;
    switch (request.buttons) {
    case MsgButtons::Ok:
        add(QMessageBox::Ok, QStringLiteral("确定"));
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        add(QMessageBox::Ok, QStringLiteral("确定"));
        add(QMessageBox::Cancel, QStringLiteral("取消"));
        box.setEscapeButton(QMessageBox::Cancel);
        onClose = MsgAnswer::Cancel;
        break;
    case MsgButtons::YesNo:
        add(QMessageBox::Yes, QStringLiteral("是"));
        add(QMessageBox::No, QStringLiteral("否"));
        box.setEscapeButton(QMessageBox::No);
        onClose = MsgAnswer::No;
        break;
    case MsgButtons::YesNoCancel:
        add(QMessageBox::Yes, QStringLiteral("是"));
        add(QMessageBox::No, QStringLiteral("否"));
        add(QMessageBox::Cancel, QStringLiteral("取消"));
        box.setEscapeButton(QMessageBox::Cancel);
        onClose = MsgAnswer::Cancel;
        break;
    }
    if (request.secondIsDefault) {
        const QMessageBox::StandardButton second = request.buttons == MsgButtons::OkCancel ? QMessageBox::Cancel
                                                                                              : QMessageBox::No;
        if (QAbstractButton *b = box.button(second))
            box.setDefaultButton(qobject_cast<QPushButton *>(b));
    }
    ExecModal(&box);
    const QMessageBox::StandardButton chosen = box.standardButton(box.clickedButton());
    switch (chosen) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return onClose;
    }
}
