#pragma once

#include <QtGlobal>

// Runs the browser as the first instance: the application, the main window's
// start-up and the event loop. Returns the process's exit code. The shipped
// program finds it in the browser's module; a test build may link it.
extern "C" Q_DECL_EXPORT int TessivaneRun(int argc, char **argv);
