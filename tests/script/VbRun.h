#pragma once

#include "ScriptControl.h"

#include <QString>

#include <string>

// Runs a short VBScript program through the script control and returns what
// it printed with WScript.Echo (one line per call, arguments separated by a
// blank). A program that fails ends its output with "Error <n> (line <l>)".
std::string runVb(const char *code);

// The same for an expression: its TypeName and its text ("Integer 5"), or
// "Error <n>".
std::string evalVb(const char *expression);
