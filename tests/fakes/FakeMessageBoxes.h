#pragma once

#include "MessageBoxes.h"

#include <QList>

// For tests: installs itself as the message-box implementation for its
// lifetime, records every box and answers from a queue (then the default).
class FakeMessageBoxes : public MessageBoxImpl
{
public:
    FakeMessageBoxes();
    ~FakeMessageBoxes() override;

    MsgAnswer ask(const MsgBoxRequest &request, QWidget *parent) override;

    void queueAnswer(MsgAnswer answer) { m_answers.append(answer); }
    void setDefaultAnswer(MsgAnswer answer) { m_default = answer; }
    const QList<MsgBoxRequest> &asked() const { return m_asked; }
    void clear() { m_asked.clear(); m_answers.clear(); }

private:
    MessageBoxImpl *m_previous = nullptr;
    QList<MsgBoxRequest> m_asked;
    QList<MsgAnswer> m_answers;
    MsgAnswer m_default = MsgAnswer::Ok;
};
