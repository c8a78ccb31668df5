#pragma once

#include <QString>

// The folder a package is unpacked into before it becomes an app's folder.
// Both functions take local paths ("/" separated).

// True when the staging folder holds exactly the folder <name> and nothing
// else, and that folder holds only folders and regular files (no links, no
// device files, no fifos): what may become "Apps\<name>" as it stands.
bool StagedAppIsWhole(const QString &stagingFolder, const QString &name);

// Puts stagingFolder/<name> in place of appsFolder/<name> by renaming: the app
// folder is at every moment either the old one or the new one, never a mix.
// The old folder (or link, or file) ends up inside stagingFolder, to be
// deleted with it. False when nothing was changed.
bool MoveAppIntoPlace(const QString &stagingFolder, const QString &appsFolder, const QString &name);
