#include "ScriptUi.h"

#include "ModalDialog.h"
#include "ScriptRunState.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

class QtScriptUi : public ScriptUi
{
public:
    int msgBox(const QString &prompt, int buttons, const QString &title) override
    {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return 1;
        ScriptClockPause pause;
        QMessageBox box;
        box.setWindowTitle(title);
        box.setText(prompt);
        switch (buttons & 0x70) {
        case 16: box.setIcon(QMessageBox::Critical); break;
        case 32: box.setIcon(QMessageBox::Question); break;
        case 48: box.setIcon(QMessageBox::Warning); break;
        case 64: box.setIcon(QMessageBox::Information); break;
        default: break;
        }
        struct B { QMessageBox::StandardButton b; int result; };
        static const std::vector<B> kLists[6] = {
            {{QMessageBox::Ok, 1}},
            {{QMessageBox::Ok, 1}, {QMessageBox::Cancel, 2}},
            {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}},
            {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}, {QMessageBox::Cancel, 2}},
            {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}},
            {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, 2}},
        };
        const int kind = buttons & 7;
        const std::vector<B> &list = kLists[kind <= 5 ? kind : 0];
        QMessageBox::StandardButtons all;
        for (const B &b : list)
            all |= b.b;
        box.setStandardButtons(all);
        const int def = (buttons >> 8) & 3;
        if (def < int(list.size()))
            box.setDefaultButton(list[size_t(def)].b);
        const int r = ExecModal(&box);
        for (const B &b : list)
            if (r == b.b)
                return b.result;
        return list.size() > 1 && (buttons & 7) != 4 ? 2 : list.front().result;
    }

    bool inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                  QString &answer) override
    {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return false;
        ScriptClockPause pause;
        QInputDialog dialog;
        dialog.setWindowTitle(title);
        dialog.setLabelText(prompt);
        dialog.setTextValue(defaultText);
        dialog.setInputMode(QInputDialog::TextInput);
        if (ExecModal(&dialog) != QDialog::Accepted)
            return false;
        answer = dialog.textValue();
        return true;
    }
};

} // namespace

ScriptUi *ScriptUi::qtDialogs()
{
    static QtScriptUi ui;
    return &ui;
}
