#pragma once

#include <QString>

// Installs the app package at path into "Apps\" and registers it.
void InstallApp(const QString &path);
