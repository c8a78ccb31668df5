// The engine's floor for the benchmarks: bare Qt WebEngine windows that do
// nothing but show pages.
//
//   webfloor <url>                 one web view that loads url (start-up bench)
//   webfloor --tabs [url...]       a tab widget, one web view per url (one blank
//                                  tab without any url); each line read from
//                                  standard input opens one more tab with that
//                                  address and makes it current
//
// In tab mode the window prints "ready" once it is shown.
#include <QApplication>
#include <QSocketNotifier>
#include <QTabWidget>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>
#include <unistd.h>

namespace {

QWebEngineView *addTab(QTabWidget *tabs, const QString &url)
{
    auto *view = new QWebEngineView(tabs);
    const int i = tabs->addTab(view, QStringLiteral("…"));
    QObject::connect(view, &QWebEngineView::titleChanged, tabs,
                     [tabs, view](const QString &t) { tabs->setTabText(tabs->indexOf(view), t); });
    if (!url.isEmpty())
        view->load(QUrl(url));
    tabs->setCurrentIndex(i);
    return view;
}

int runTabs(QApplication &app, const QStringList &urls)
{
    QTabWidget tabs;
    tabs.resize(800, 600);
    if (urls.isEmpty())
        addTab(&tabs, QString());
    for (const QString &u : urls)
        addTab(&tabs, u);
    tabs.show();

    QByteArray pending;
    QSocketNotifier in(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&in, &QSocketNotifier::activated, &tabs, [&] {
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            in.setEnabled(false);
            return;
        }
        pending.append(buf, n);
        for (qsizetype nl = pending.indexOf('\n'); nl >= 0; nl = pending.indexOf('\n')) {
            const QString line = QString::fromLocal8Bit(pending.left(nl)).trimmed();
            pending.remove(0, nl + 1);
            if (!line.isEmpty())
                addTab(&tabs, line);
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (!args.isEmpty() && args.first() == QLatin1String("--tabs")) {
        args.removeFirst();
        return runTabs(app, args);
    }
    if (args.isEmpty())
        return 2;
    QWebEngineView view;
    view.resize(800, 600);
    QObject::connect(&view, &QWebEngineView::titleChanged, &view, &QWidget::setWindowTitle);
    view.load(QUrl(args.first()));
    view.show();
    return app.exec();
}
