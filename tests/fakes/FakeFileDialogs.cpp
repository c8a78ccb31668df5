#include "FakeFileDialogs.h"

FakeFileDialogs::FakeFileDialogs()
    : m_previous(FileDialogs::impl())
{
    FileDialogs::setImpl(this);
}

FakeFileDialogs::~FakeFileDialogs()
{
    FileDialogs::setImpl(m_previous);
}

QString FakeFileDialogs::choose(const FileDialogRequest &request, QWidget *)
{
    m_asked.append(request);
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}
