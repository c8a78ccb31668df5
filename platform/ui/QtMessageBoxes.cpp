#include "QtMessageBoxes.h"

#include "ModalDialog.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <cstdio>

namespace {
QString answerWord(MsgAnswer a)
{
    switch (a) {
    case MsgAnswer::Ok: return QStringLiteral("ok");
    case MsgAnswer::Cancel: return QStringLiteral("cancel");
    case MsgAnswer::Yes: return QStringLiteral("yes");
    case MsgAnswer::No: return QStringLiteral("no");
    }
    return QString();
}

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
    if (qEnvironmentVariableIsSet("TESSIVANE_AUTO_ANSWER")) {
        const QStringList words = qEnvironmentVariable("TESSIVANE_AUTO_ANSWER").split(QLatin1Char(','));
        const QString word = words.at(qMin(m_autoIndex, int(words.size()) - 1));
        ++m_autoIndex;
        const MsgAnswer answer = MessageBoxes::autoAnswer(word, request.buttons);
        QString shown = request.title + QLatin1Char('|') + request.text + QLatin1Char('|') + answerWord(answer);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
        shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        std::fprintf(stderr, "TESSIVANE_MSGBOX %s\n", shown.toUtf8().constData());
        std::fflush(stderr);
        return answer;
    }

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
