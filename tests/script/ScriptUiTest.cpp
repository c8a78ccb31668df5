// The Qt dialogs behind MsgBox and InputBox: they answer the script with the
// button pressed, and the time the user takes does not count against the
// time-out.
#include "ScriptControl.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Presses a button of the next message box after the given delay.
void answerMessageBox(QMessageBox::StandardButton which, int delayMs)
{
    QTimer::singleShot(delayMs, [which] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(which)->click();
    });
}

} // namespace

TEST(ScriptUi, MsgBoxAnswersAndPausesTheClock)
{
    ScriptControl sc;
    sc.setTimeout(200);
    answerMessageBox(QMessageBox::No, 400);
    bool ok = false;
    const Variant r = sc.eval(QStringLiteral("MsgBox(\"继续吗？\", vbYesNo + vbQuestion, \"请求权限\")"), &ok);
    ASSERT_TRUE(ok) << sc.error().number;
    EXPECT_EQ(r.toLong(), 7);
}

TEST(ScriptUi, InputBoxReturnsTheText)
{
    ScriptControl sc;
    QTimer::singleShot(100, [] {
        auto *dlg = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->setTextValue(QStringLiteral("答案"));
        dlg->accept();
    });
    EXPECT_EQ(sc.eval(QStringLiteral("InputBox(\"名字\", \"标题\", \"x\")")).toString(), QStringLiteral("答案"));
    QTimer::singleShot(100, [] {
        auto *dlg = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->reject();
    });
    EXPECT_TRUE(sc.eval(QStringLiteral("IsEmpty(InputBox(\"名字\"))")).toBool());
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
