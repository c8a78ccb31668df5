#pragma once

#include <QString>

// The client end shared by both programs: sends one command to the running
// instance of the service ("Tessivane|Brw", "Dunmora|Dwn"). False on any
// failure (no instance, refused, no answer in time); the caller then ends.
bool DDESend(const QString &service, const QString &command);
