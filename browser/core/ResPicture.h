#pragma once

#include <QPixmap>
#include <QString>

// A built-in design picture of the browser by name (":/res/<name>.png"); null
// when unknown.
QPixmap ResPicture(const QString &name);
