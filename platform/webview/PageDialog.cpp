#include "PageDialog.h"

#include "ModalDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {
// The dialogs being asked, shown or hidden for a while by the quick-hide mode.
std::vector<QPointer<PageDialog>> &openDialogs()
{
    static std::vector<QPointer<PageDialog>> dialogs;
    return dialogs;
}

bool &heldFlag()
{
    static bool held = false;
    return held;
}

// Long page texts wrap at this width instead of widening the dialog.
constexpr int kTextWidth = 420;
} // namespace

PageDialog::PageDialog(Kind kind, const QString &text, const QString &defaultValue, bool offerStop, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PageDialog"));
    setWindowTitle(QStringLiteral("来自网页的消息"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *outer = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    outer->addLayout(row);
    const QStyle::StandardPixmap icon = kind == Alert ? QStyle::SP_MessageBoxWarning
        : kind == Confirm                             ? QStyle::SP_MessageBoxQuestion
                                                      : QStyle::SP_MessageBoxInformation;
    auto *picture = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    picture->setPixmap(style()->standardIcon(icon, nullptr, this).pixmap(size, size));
    picture->setAlignment(Qt::AlignTop);
    row->addWidget(picture);

    auto *column = new QVBoxLayout;
    row->addLayout(column, 1);
    auto *message = new QLabel(this);
    message->setObjectName(QStringLiteral("lblText"));
    message->setTextFormat(Qt::PlainText);
    message->setText(text);
    message->setWordWrap(true);
    message->setMaximumWidth(kTextWidth);
    // A short text stays on its line; a long one wraps at the text width.
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, message->fontMetrics().horizontalAdvance(line));
    message->setMinimumWidth(qMin(widest + 2, kTextWidth));
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(message);
    if (kind == Prompt) {
        m_edit = new QLineEdit(defaultValue, this);
        m_edit->setObjectName(QStringLiteral("txtValue"));
        column->addWidget(m_edit);
    }
    if (offerStop) {
        m_stop = new QCheckBox(QStringLiteral("禁止此页再弹出对话框"), this);
        m_stop->setObjectName(QStringLiteral("chkStop"));
        column->addWidget(m_stop);
    }

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("cmdOK"));
    if (kind != Alert)
        buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)
            ->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
}

PageDialog::~PageDialog() = default;

bool PageDialog::ask(Kind kind, const QString &text, const QString &defaultValue, bool offerStop, QWidget *parent,
                     QString *value, bool *stopAsked)
{
    if (stopAsked)
        *stopAsked = false;
    if (heldFlag())
        return false;
    PageDialog dialog(kind, text, defaultValue, offerStop, parent);
    auto &open = openDialogs();
    open.emplace_back(&dialog);
    const bool ok = ExecModal(&dialog) == QDialog::Accepted && !heldFlag();
    open.erase(std::remove(open.begin(), open.end(), QPointer<PageDialog>(&dialog)), open.end());
    if (value)
        *value = dialog.value();
    if (stopAsked)
        *stopAsked = dialog.stopAsked();
    return ok;
}

QString PageDialog::value() const
{
    return m_edit ? m_edit->text() : QString();
}

bool PageDialog::stopAsked() const
{
    return m_stop && m_stop->isChecked();
}

int PageDialog::openCount()
{
    return int(openDialogs().size());
}

void PageDialog::holdAll()
{
    heldFlag() = true;
    // A copy: rejecting ends nested dialogs, which may go away meanwhile.
    const std::vector<QPointer<PageDialog>> open = openDialogs();
    for (const QPointer<PageDialog> &d : open) {
        if (d)
            d->reject();
    }
}

void PageDialog::release()
{
    heldFlag() = false;
}

bool PageDialog::held()
{
    return heldFlag();
}
