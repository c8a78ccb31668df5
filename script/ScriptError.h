#pragma once

#include <QString>

// One script error as the control reports it: the runtime's error number, the
// source text ("Microsoft VBScript 运行时错误" ...), the description in Chinese
// and the 1-based line and the column of the failing statement (0 when the error
// does not come from script text). Columns count from 0 (the first
// character of a line is column 0), as the script control reports them.
struct ScriptError
{
    int number = 0;
    QString source;
    QString description;
    int line = 0;
    int column = 0;

    bool isSet() const { return number != 0; }
    void clear() { *this = ScriptError(); }
};

// Thrown inside the engines when a runtime error is raised; the control turns
// it into the last error. Never leaves the control's public calls.
struct ScriptException
{
    int number;
    QString description; // empty: the standard text of the number
    QString source;      // empty: the runtime's source text
    int line = 0;        // filled by the statement that failed
    int column = 0;
};

// Stops a run whatever error handling the script set up: the time-out or a
// reset of the engine while one of its host calls was running.
struct ScriptAbort
{
    int number;
};
[[noreturn]] void throwScriptError(int number, const QString &description = QString());

namespace ScriptErrors {
// Runtime error numbers of the language (the ones the engine raises itself).
enum : int {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    ArrayLocked = 10,
    DivisionByZero = 11,
    TypeMismatch = 13,
    OutOfStack = 28,
    SubNotDefined = 35,
    ObjectNotSet = 91,
    ForNotInitialized = 92,
    InvalidUseOfNull = 94,
    ObjectRequired = 424,
    CannotCreateObject = 429,
    NoSuchMember = 438,
    NotSupported = 445,
    WrongArgCount = 450,
    NotACollection = 451,
    UndefinedVariable = 500,
    IllegalAssignment = 501,
    UnsafeObject = 502,
    ClassNotDefined = 506,
    Unexpected = 507,
    KeyExists = 457,
    UnsupportedType = 458,
    ElementNotFound = 32811,
    SyntaxError = 1002,
    // Raised by the control when the run exceeded its time-out. Resume Next
    // does not swallow it.
    Timeout = -2147220992,
    // The engine was reset or destroyed while a host call was running.
    Aborted = -2147467260,
};

// The Chinese description of an error number; empty for unknown numbers.
QString description(int number);
// "Microsoft VBScript 运行时错误" / "Microsoft VBScript 编译器错误".
QString runtimeSource();
QString compilerSource();
} // namespace ScriptErrors
