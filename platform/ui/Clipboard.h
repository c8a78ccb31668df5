#pragma once

#include <QString>

// The system clipboard's text. Without a GUI application (tests on
// QCoreApplication) nothing happens and text() is "".
namespace Clipboard {
void setText(const QString &text);
QString text();
} // namespace Clipboard
