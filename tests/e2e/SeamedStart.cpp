// Linked with the browser's own start-up: installs the test doubles of the
// desktop seams as soon as the application object exists, so that the whole
// program runs as shipped except that nobody has to answer its dialogs and
// the keyboard it polls is its own.
//
// The test talks to it by lines, so that it never needs to find the window on
// the shared display or to move the display's pointer:
//   stdout  "msgbox TITLE|TEXT|ANSWER"  each message box, as it is answered
//                                       (line breaks shown as "\n")
//           "clicked VISIBLE"           a click asked for on stdin is done;
//                                       VISIBLE is 1 while the window shows
//           "state TABS ADDRESS"        the open tabs and the current address
//           "modal TITLE"               the title of the modal window that
//                                       waits for an answer ("" when none)
//   stdin   "click CONTROL ANSWER"      clicks a control of the main window
//                                       ("close" the caption's close button,
//                                       "download" the download button); the
//                                       box it may raise gets ANSWER (yes/no)
//           "state", "modal"            ask for a state or modal line
// Boxes without a queued answer get OK.
#include "FakeFileDialogs.h"
#include "FakeKeyState.h"
#include "FakeMessageBoxes.h"
#include "MainWindowSetup.h"
#include "frmMain.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

void sendLine(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

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

class ReportedBoxes : public FakeMessageBoxes
{
public:
    MsgAnswer ask(const MsgBoxRequest &request, QWidget *parent) override
    {
        const MsgAnswer answer = FakeMessageBoxes::ask(request, parent);
        QString shown = request.title + QLatin1Char('|') + request.text + QLatin1Char('|') + answerWord(answer);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
        shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        sendLine(QStringLiteral("msgbox ") + shown);
        return answer;
    }
};

tessivane::frmMain *mainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *m = qobject_cast<tessivane::frmMain *>(w))
            return m;
    }
    return nullptr;
}

// Reads the test's commands from standard input.
class Commands : public QObject
{
public:
    Commands(ReportedBoxes *boxes, QObject *parent)
        : QObject(parent)
        , m_boxes(boxes)
        , m_notifier(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
    {
        connect(m_notifier, &QSocketNotifier::activated, this, &Commands::readInput);
    }

private:
    void readInput()
    {
        char buf[256];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            // The test closed its end: nothing more will come.
            m_notifier->setEnabled(false);
            return;
        }
        m_pending.append(buf, int(n));
        int end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(m_pending.left(end)).trimmed();
            m_pending.remove(0, end + 1);
            run(line);
        }
    }

    void run(const QString &line)
    {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString command = words.value(0);
        tessivane::frmMain *w = mainWindow();
        if (command == QLatin1String("state")) {
            sendLine(QStringLiteral("state %1 %2").arg(w ? OpenTabCount(w) : 0).arg(w ? CurrentPageAddress(w) : QString()));
        } else if (command == QLatin1String("modal")) {
            const QWidget *modal = QApplication::activeModalWidget();
            sendLine(QStringLiteral("modal ") + (modal ? modal->windowTitle() : QString()));
        } else if (command == QLatin1String("click")) {
            QWidget *control = nullptr;
            if (w && words.value(1) == QLatin1String("close"))
                control = w->imgCtrl[0];
            else if (w && words.value(1) == QLatin1String("download"))
                control = w->imgDwn;
            m_boxes->queueAnswer(words.value(2) == QLatin1String("yes") ? MsgAnswer::Yes : MsgAnswer::No);
            if (control)
                QTest::mouseClick(control, Qt::LeftButton);
            m_boxes->clear(); // an answer the click did not use is not kept for later boxes
            w = mainWindow();
            sendLine(QStringLiteral("clicked ") + QLatin1String(w && w->isVisible() ? "1" : "0"));
        }
    }

    ReportedBoxes *m_boxes;
    QSocketNotifier *m_notifier;
    QByteArray m_pending;
};

void installSeams()
{
    auto *owner = new QObject(QCoreApplication::instance());
    static ReportedBoxes boxes;
    static FakeFileDialogs dialogs;
    static FakeKeyState keys;
    new Commands(&boxes, owner);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installSeams)
