#include "AppPackages.h"

// Unpacking and registering packages arrive with the app library; until then
// a package is left where it is.
void InstallApp(const QString &path)
{
    Q_UNUSED(path);
}
