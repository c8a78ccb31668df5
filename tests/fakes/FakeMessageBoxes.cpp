#include "FakeMessageBoxes.h"

FakeMessageBoxes::FakeMessageBoxes()
    : m_previous(MessageBoxes::impl())
{
    MessageBoxes::setImpl(this);
}

FakeMessageBoxes::~FakeMessageBoxes()
{
    MessageBoxes::setImpl(m_previous);
}

MsgAnswer FakeMessageBoxes::ask(const MsgBoxRequest &request, QWidget *)
{
    m_asked.append(request);
    return m_answers.isEmpty() ? m_default : m_answers.takeFirst();
}
