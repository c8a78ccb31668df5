#pragma once

#include <QIcon>
#include <QString>

class VbPictureBox;

// The icon of a file's type, found by its name so that the file need not
// exist yet (once it exists its content may refine the type). Falls back to
// the type's generic icon and then to the built-in file picture.
QIcon fileTypeIcon(const QString &path);

// Draws the file type's large (32 x 32) icon at the picture box's top-left
// corner; the drawing becomes the box's picture. False when nothing could be
// drawn.
bool DrawFileIco(const QString &Path, VbPictureBox *pic);
