#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Dunmora's Yes/No questions (closing the window, clearing the list). A
// question's box runs an event loop of its own, in which transfers go on and
// requests of later starts arrive; while a question is open those requests
// wait, so that the box stays in front and its answer is carried out before
// anything new starts. answered() tells the window when the last open
// question has been answered.
class DwnQuestion : public QObject
{
    Q_OBJECT
public:
    static DwnQuestion *instance();

    // Asks through DwnShell (the question icon, Yes and No); true for Yes.
    static bool ask(QWidget *parent, const QString &title, const QString &text);
    bool isOpen() const { return m_open > 0; }

signals:
    void answered();

private:
    int m_open = 0;
};
