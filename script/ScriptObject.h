#pragma once

#include "ScriptError.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <utility>

class Variant;
using VariantList = QVector<Variant>;

// The one interface through which scripts reach objects of the host (the app
// object model, the app window, the page document) and the engine's own
// objects (Dictionary, RegExp, VBScript class instances).
//
// Lifetime: objects are reference counted. Create them with new, hand them
// around in ObjectRef; the object deletes itself when the last ObjectRef goes.
// A host that keeps its own pointer holds an ObjectRef too.
//
// Threads: everything happens on the one thread the engine runs on.
//
// Implementing a host object: override invoke() and, for collections,
// enumerate(). Member names arrive as the script spelled them: compare them
// without regard to case (VBScript is not case sensitive; JScript callers use
// the same names). A remote object (a page element that lives in the web
// engine's process) may not know whether a member without arguments is a
// property or a method: the engine then passes Get | Call and the object
// decides (read the property, or call the method with no arguments).
//
// Get alone (without Call) asks for a property value only: a method answers
// UnknownName then (JScript reads obj.Method before it calls it, and the
// engine hands out a callable for an unknown property). Get | Call is the
// VBScript form "obj.Member" without parentheses: read the property or call
// the method without arguments.
//
// A member with arguments that returns a collection: VBScript's Url.all(0)
// arrives as invoke("all", Get | Call, [0]) (apply the index, as IDispatch
// does), JScript's Url.all(0) as invoke("all", Get, []) followed by
// invoke("", Get | Call, [0]) on the collection returned.
//
// Errors: return fail(error, number, description) (or fill error and return
// Failed); the script sees the number and text (Err.Number / Err.Description,
// catchable with On Error Resume Next or try/catch). A ScriptException that a
// conversion (args[0].toLong() ...) throws inside invoke() is reported as the
// member's error the same way; throw nothing else.
//
// Host calls that wait for the user or pump the event loop must construct a
// ScriptClockPause (ScriptRunState.h) for the duration of the wait, so that the
// wait does not count against the engine's time-out. After a host call returns
// the engine checks whether it was reset or destroyed meanwhile and unwinds;
// the host object itself stays alive until its caller has let go of it.
//
// A minimal host object:
//
//     class AppControlObject : public ScriptObject {
//         Status invoke(const QString &name, int access, VariantList &args,
//                       Variant &result, ScriptError &error) override {
//             if (sameName(name, QStringLiteral("AppPath"))) {
//                 if (access == Get) return UnknownName;      // a method
//                 result = Variant::fromString(programFolder());
//                 return Ok;
//             }
//             if (sameName(name, QStringLiteral("AppSleep"))) {
//                 if (access == Get) return UnknownName;
//                 if (args.size() != 1) return fail(error, ScriptErrors::WrongArgCount);
//                 ScriptClockPause pause;
//                 ... pump the event loop for args[0].toLong() ms ...
//                 return Ok;
//             }
//             return UnknownName;
//         }
//     };
class ScriptObject
{
public:
    enum Access : int {
        Get = 1,     // read a property (args are indices, result receives the value)
        Put = 2,     // assign a value: result holds the value on entry (Let)
        PutRef = 4,  // assign an object (Set): result holds the object on entry
        Call = 8,    // call a method: args are the arguments, result receives the return value
    };

    enum Status {
        Ok,           // done; result is set (Empty for a method without value)
        UnknownName,  // no member of that name: the engine raises 438 (or looks further)
        Failed,       // the member raised an error: error is filled in
    };

    ScriptObject() = default;
    virtual ~ScriptObject();
    ScriptObject(const ScriptObject &) = delete;
    ScriptObject &operator=(const ScriptObject &) = delete;

    // Reads, writes or calls the member `name`; an empty name is the default
    // member (obj(1), obj = value, Url.all(0) calls the default member of the
    // collection). args are in the order the script wrote them; a ByRef
    // argument changed by the host is not copied back.
    virtual Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                          ScriptError &error) = 0;

    // For Each: fills items with the elements. The default raises 451
    // (object is not a collection).
    virtual Status enumerate(VariantList &items, ScriptError &error);

    // Names of the members, for JScript objects added with their members as
    // global names (VBScript finds them by asking invoke()). May be empty.
    virtual QStringList memberNames() const { return {}; }

    // TypeName() of the object.
    virtual QString typeName() const { return QStringLiteral("Object"); }

    // Informational: whether the object is safe for scripting. The safe
    // subset is enforced where objects are created (ScriptObjectFactory);
    // host objects added with addObject are always usable.
    virtual bool safeForScripting() const { return true; }

    // Called once when the last reference goes, before deletion; VBScript
    // class instances run Class_Terminate here.
    virtual void aboutToDelete() {}

    // Drops the references this object holds to other script objects. The
    // engine that created the object calls it when it shuts down, so that
    // cycles a script built (a dictionary holding itself, two instances
    // pointing at each other) are freed. The default does nothing.
    virtual void releaseReferences() {}

    void ref() { m_refs.fetch_add(1, std::memory_order_relaxed); }
    void deref();
    int refCount() const { return m_refs.load(std::memory_order_relaxed); }

    // Helper for implementations: compares member names without regard to case.
    static bool sameName(const QString &a, const QString &b)
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }
    // Helper for implementations: fills error with the number and its standard description.
    static Status fail(ScriptError &error, int number, const QString &description = QString());

private:
    friend class ScriptObjectTracker;
    std::atomic<int> m_refs{0};
    class ScriptObjectTracker *m_tracker = nullptr;
    // neighbours in the tracker's list
    ScriptObject *m_trackPrev = nullptr;
    ScriptObject *m_trackNext = nullptr;
};

// The objects one engine created, for releaseReferences() at its shutdown.
class ScriptObjectTracker
{
public:
    ScriptObjectTracker() = default;
    ~ScriptObjectTracker();
    ScriptObjectTracker(const ScriptObjectTracker &) = delete;
    ScriptObjectTracker &operator=(const ScriptObjectTracker &) = delete;

    void track(ScriptObject *object);
    // Calls releaseReferences() on every tracked object still alive and stops tracking.
    void releaseAll();

private:
    friend class ScriptObject;
    void forget(ScriptObject *object);
    // a list through the objects themselves: tracking and forgetting take
    // constant time (a script may create and drop millions)
    ScriptObject *m_head = nullptr;
};

// Intrusive reference to a ScriptObject (null = Nothing).
class ObjectRef
{
public:
    ObjectRef() = default;
    ObjectRef(ScriptObject *o) : m_o(o) { if (m_o) m_o->ref(); }
    ObjectRef(const ObjectRef &other) : m_o(other.m_o) { if (m_o) m_o->ref(); }
    ObjectRef(ObjectRef &&other) noexcept : m_o(std::exchange(other.m_o, nullptr)) {}
    ~ObjectRef() { if (m_o) m_o->deref(); }
    ObjectRef &operator=(const ObjectRef &other)
    {
        ObjectRef tmp(other);
        std::swap(m_o, tmp.m_o);
        return *this;
    }
    ObjectRef &operator=(ObjectRef &&other) noexcept
    {
        ObjectRef tmp(std::move(other));
        std::swap(m_o, tmp.m_o);
        return *this;
    }
    ScriptObject *get() const { return m_o; }
    ScriptObject *operator->() const { return m_o; }
    explicit operator bool() const { return m_o != nullptr; }
    bool operator==(const ObjectRef &o) const { return m_o == o.m_o; }

private:
    ScriptObject *m_o = nullptr;
};
