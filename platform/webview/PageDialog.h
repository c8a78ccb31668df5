#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

// The dialog a page's script asks for with alert, confirm or prompt, in the
// browser's words ("来自网页的消息", "确定", "取消"). The page's text is shown as
// plain text. When offered, a check box "禁止此页再弹出对话框" lets the user
// stop further dialogs of the page.
//
// Page dialogs are modal to the whole program. While the program or its
// window is closing they are held: every dialog that is up is cancelled and
// every later one is answered at once as cancelled, so that no page keeps
// the program from ending.
class PageDialog : public QDialog
{
    Q_OBJECT
public:
    enum Kind { Alert, Confirm, Prompt };

    PageDialog(Kind kind, const QString &text, const QString &defaultValue, bool offerStop,
               QWidget *parent = nullptr);
    ~PageDialog() override;

    // Shows the dialog modally: true for OK. value: the prompt's text;
    // stopAsked: the user ticked the box. Held dialogs answer false at once.
    static bool ask(Kind kind, const QString &text, const QString &defaultValue, bool offerStop, QWidget *parent,
                    QString *value, bool *stopAsked);

    QString value() const;
    bool stopAsked() const;
    QCheckBox *stopBox() const { return m_stop; }

    // How many page dialogs are being asked (up, or hidden by the quick-hide mode).
    static int openCount();
    // Cancels every page dialog that is up and answers later ones at once,
    // until release().
    static void holdAll();
    static void release();
    static bool held();

private:
    QLineEdit *m_edit = nullptr;
    QCheckBox *m_stop = nullptr;
};
