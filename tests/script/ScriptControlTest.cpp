// The script control's API as the app host uses it: objects with their
// members, Run, Eval, errors with line and column, time-out, the clock pause
// of waiting host calls, reset and deletion during a host call, safe subset
// and the dialog seam.
#include "ScriptControl.h"
#include "ScriptObjectFactory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <thread>

namespace {

// A host object whose methods are lambdas; properties live in a map.
class FakeHost : public ScriptObject
{
public:
    using Method = std::function<Variant(VariantList &)>;
    std::map<QString, Method> methods;
    std::map<QString, Variant> props;
    QStringList calls;

    Status invoke(const QString &nameIn, int access, VariantList &args, Variant &result, ScriptError &error) override
    {
        const QString name = nameIn.toLower();
        auto m = methods.find(name);
        if (m != methods.end()) {
            if (access == Get)
                return UnknownName;
            calls << name;
            try {
                result = m->second(args);
            } catch (const ScriptException &e) {
                return fail(error, e.number, e.description);
            }
            return Ok;
        }
        auto p = props.find(name);
        if (p == props.end())
            return UnknownName;
        if (access & (Put | PutRef))
            p->second = result;
        else
            result = p->second;
        return Ok;
    }
    QStringList exported;
    QStringList memberNames() const override { return exported; }
};

class FakeUi : public ScriptUi
{
public:
    int answer = 6;
    QStringList prompts;
    int msgBox(const QString &prompt, int, const QString &title) override
    {
        prompts << prompt + QLatin1Char('|') + title;
        return answer;
    }
    bool inputBox(const QString &prompt, const QString &, const QString &def, QString &out) override
    {
        prompts << prompt;
        out = def + QStringLiteral("!");
        return true;
    }
};

struct Lang
{
    const char *name;
};

class ScriptControlBoth : public ::testing::TestWithParam<const char *>
{
protected:
    bool isVb() const { return QLatin1String(GetParam()) == QLatin1String("VBScript"); }
    QString pick(const char *vb, const char *js) const { return QString::fromUtf8(isVb() ? vb : js); }
};

} // namespace

TEST_P(ScriptControlBoth, AddObjectWithMembersRunAndEval)
{
    ScriptControl sc;
    ASSERT_TRUE(sc.setLanguage(QString::fromLatin1(GetParam())));
    auto *host = new FakeHost;
    ObjectRef ref(host);
    host->methods[QStringLiteral("apppath")] = [](VariantList &) { return Variant::fromString(QStringLiteral("C:\\App\\")); };
    host->methods[QStringLiteral("add")] = [](VariantList &a) { return Variant::fromDouble(a[0].toDouble() + a[1].toDouble()); };
    host->props[QStringLiteral("scindex")] = Variant::fromLong(7);
    host->exported = QStringList{QStringLiteral("AppPath"), QStringLiteral("Add")};
    ASSERT_TRUE(sc.addObject(QStringLiteral("AppControl"), ref, true));
    ASSERT_TRUE(sc.addCode(pick("Dim r\nr = AppControl.AppPath & \"|\" & AppPath() & \"|\" & AppControl.scIndex\n"
                                "Function Twice(x) : Twice = AppControl.Add(x, x) : End Function\n",
                                "var r = AppControl.AppPath() + '|' + AppPath() + '|' + AppControl.scIndex;\n"
                                "function Twice(x) { return AppControl.Add(x, x); }\n")))
        << sc.error().description.toStdString();
    EXPECT_EQ(sc.eval(QStringLiteral("r")).toString(), QStringLiteral("C:\\App\\|C:\\App\\|7"));
    bool ok = false;
    const Variant v = sc.run(QStringLiteral("Twice"), VariantList{Variant::fromLong(21)}, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(v.toDouble(), 42.0);
    EXPECT_EQ(sc.eval(QStringLiteral("1 + 2")).toLong(), 3);
    sc.run(QStringLiteral("NoSuchProc"), VariantList(), &ok);
    EXPECT_FALSE(ok);
    EXPECT_NE(sc.error().number, 0);
    // the next call clears the error
    EXPECT_EQ(sc.eval(QStringLiteral("2")).toLong(), 2);
    EXPECT_EQ(sc.error().number, 0);
}

TEST_P(ScriptControlBoth, ErrorsCarryLine)
{
    ScriptControl sc;
    sc.setLanguage(QString::fromLatin1(GetParam()));
    auto *host = new FakeHost;
    ObjectRef ref(host);
    host->methods[QStringLiteral("mark")] = [](VariantList &) { return Variant(); };
    sc.addObject(QStringLiteral("Host"), ref);
    // a syntax error on line 3: nothing runs
    EXPECT_FALSE(sc.addCode(pick("Host.Mark\nx = 1\nIf x Then y = (\n", "Host.Mark();\nvar x = 1;\nvar = ;\n")));
    EXPECT_EQ(sc.error().line, 3);
    EXPECT_TRUE(host->calls.isEmpty());
    if (isVb()) {
        EXPECT_EQ(sc.error().number, 1023);
        EXPECT_EQ(sc.error().source, QStringLiteral("Microsoft VBScript 编译器错误"));
        EXPECT_EQ(sc.error().column, 15);
    } else {
        EXPECT_EQ(sc.error().number, 1002);
        EXPECT_EQ(sc.error().column, 0);
    }
    // a runtime error on line 2 after line 1 ran
    EXPECT_FALSE(sc.addCode(pick("Host.Mark\n  Host.Missing 1\n", "Host.Mark();\nHost.Missing(1);\n")));
    EXPECT_EQ(sc.error().line, 2);
    EXPECT_EQ(sc.error().number, 438);
    EXPECT_EQ(host->calls.size(), 1);
    if (isVb()) {
        EXPECT_EQ(sc.error().column, 2);
    }
}

TEST_P(ScriptControlBoth, TimeoutStopsEndlessLoop)
{
    ScriptControl sc;
    sc.setLanguage(QString::fromLatin1(GetParam()));
    sc.setTimeout(300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(sc.addCode(pick("On Error Resume Next\nDo\nLoop\nx = 1\n", "while (true) {}\n")));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(sc.error().number, ScriptErrors::Timeout);
    EXPECT_LT(ms, 5000);
    // the engine stays usable
    EXPECT_TRUE(sc.addCode(pick("y = 2\n", "var y = 2;\n")));
    EXPECT_EQ(sc.eval(QStringLiteral("y")).toLong(), 2);
    // an endless recursion is reported, not a crash
    sc.setTimeout(10000);
    EXPECT_FALSE(sc.addCode(pick("Sub R : R : End Sub\nR\n", "function r() { r(); }\nr();\n")));
    EXPECT_NE(sc.error().number, 0);
}

TEST_P(ScriptControlBoth, WaitingHostCallDoesNotCount)
{
    ScriptControl sc;
    sc.setLanguage(QString::fromLatin1(GetParam()));
    sc.setTimeout(300);
    auto *host = new FakeHost;
    ObjectRef ref(host);
    host->methods[QStringLiteral("appsleep")] = [](VariantList &a) {
        ScriptClockPause pause;
        std::this_thread::sleep_for(std::chrono::milliseconds(a[0].toLong()));
        return Variant();
    };
    host->methods[QStringLiteral("busy")] = [](VariantList &a) {
        std::this_thread::sleep_for(std::chrono::milliseconds(a[0].toLong()));
        return Variant();
    };
    sc.addObject(QStringLiteral("AppControl"), ref);
    EXPECT_TRUE(sc.addCode(pick("AppControl.AppSleep 250\nAppControl.AppSleep 250\n",
                                "AppControl.AppSleep(250); AppControl.AppSleep(250);\n")))
        << sc.error().number;
    EXPECT_FALSE(sc.addCode(pick("AppControl.Busy 400\nDo : Loop\n", "AppControl.Busy(400); while (true) {}\n")));
    EXPECT_EQ(sc.error().number, ScriptErrors::Timeout);
}

TEST_P(ScriptControlBoth, ResetDuringHostCall)
{
    auto *sc = new ScriptControl;
    sc->setLanguage(QString::fromLatin1(GetParam()));
    auto *host = new FakeHost;
    ObjectRef ref(host);
    int after = 0;
    host->methods[QStringLiteral("endapp")] = [sc](VariantList &) {
        sc->reset(); // the task manager ends the app while its script waits
        return Variant();
    };
    host->methods[QStringLiteral("after")] = [&after](VariantList &) {
        ++after;
        return Variant();
    };
    sc->addObject(QStringLiteral("AppControl"), ref);
    EXPECT_FALSE(sc->addCode(pick("On Error Resume Next\nAppControl.EndApp\nAppControl.After\n",
                                  "try { AppControl.EndApp(); } catch (e) {}\nAppControl.After();\n")));
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(sc->isRunning());
    // the control is fresh and usable again
    EXPECT_TRUE(sc->addCode(pick("x = 5\n", "var x = 5;\n")));
    EXPECT_EQ(sc->eval(QStringLiteral("x")).toLong(), 5);
    delete sc;
}

TEST_P(ScriptControlBoth, DeleteDuringHostCall)
{
    auto *sc = new ScriptControl;
    sc->setLanguage(QString::fromLatin1(GetParam()));
    auto *host = new FakeHost;
    ObjectRef ref(host);
    int after = 0;
    host->methods[QStringLiteral("endapp")] = [sc](VariantList &) {
        delete sc;
        return Variant();
    };
    host->methods[QStringLiteral("after")] = [&after](VariantList &) {
        ++after;
        return Variant();
    };
    sc->addObject(QStringLiteral("AppControl"), ref);
    ASSERT_TRUE(sc->addCode(pick("Sub TheOrvLetUEnd\nAppControl.EndApp\nAppControl.After\nEnd Sub\n",
                                 "function TheOrvLetUEnd() { AppControl.EndApp(); AppControl.After(); }\n")));
    bool ok = true;
    sc->run(QStringLiteral("TheOrvLetUEnd"), VariantList(), &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(after, 0);
}

TEST_P(ScriptControlBoth, SafeSubsetLimitsCreation)
{
    ScriptObjectFactory::registerProgId(QStringLiteral("Test.Unsafe"), [] { return ObjectRef(new FakeHost); }, false);
    const QString code = pick("Set o = CreateObject(\"Test.Unsafe\")\nSet d = CreateObject(\"Scripting.Dictionary\")\n",
                              "var o = new ActiveXObject('Test.Unsafe');\nvar d = new ActiveXObject('Scripting.Dictionary');\n");
    ScriptControl open;
    open.setLanguage(QString::fromLatin1(GetParam()));
    EXPECT_TRUE(open.addCode(code)) << open.error().description.toStdString();
    ScriptControl safe;
    safe.setLanguage(QString::fromLatin1(GetParam()));
    safe.setUseSafeSubset(true);
    EXPECT_FALSE(safe.addCode(code));
    EXPECT_EQ(safe.error().number, 429);
    EXPECT_EQ(safe.error().line, 1);
    EXPECT_TRUE(safe.addCode(pick("Set d = CreateObject(\"Scripting.Dictionary\")\n",
                                  "var d = new ActiveXObject('Scripting.Dictionary');\n")));
    ScriptObjectFactory::unregisterProgId(QStringLiteral("Test.Unsafe"));
}

TEST(ScriptControl, DialogsGoThroughTheSeam)
{
    FakeUi ui;
    ScriptControl sc;
    sc.setUi(&ui);
    EXPECT_EQ(sc.eval(QStringLiteral("MsgBox(\"ask\", vbYesNo, \"t\")")).toLong(), 6);
    EXPECT_EQ(sc.eval(QStringLiteral("InputBox(\"name\", \"t\", \"x\")")).toString(), QStringLiteral("x!"));
    EXPECT_EQ(ui.prompts.value(0), QStringLiteral("ask|t"));
    sc.setAllowUI(false);
    bool ok = true;
    sc.eval(QStringLiteral("MsgBox(\"no\")"), &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(sc.error().number, 70);
}

namespace {
// A page document as it arrives from the web engine's process: "all" is a
// property that is also callable with an index, the collection's default
// member takes the index.
class FakeCollection : public ScriptObject
{
public:
    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override
    {
        if (name.isEmpty() || sameName(name, QStringLiteral("item"))) {
            if (access == Get && !name.isEmpty())
                return UnknownName;
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            result = Variant::fromString(QStringLiteral("el") + QString::number(args[0].toLong()));
            return Ok;
        }
        if (sameName(name, QStringLiteral("length"))) {
            result = Variant::fromLong(3);
            return Ok;
        }
        return UnknownName;
    }
    Status enumerate(VariantList &items, ScriptError &) override
    {
        for (int i = 0; i < 3; ++i)
            items << Variant::fromString(QStringLiteral("el") + QString::number(i));
        return Ok;
    }
};

class FakeDocument : public ScriptObject
{
public:
    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override
    {
        if (!sameName(name, QStringLiteral("all")))
            return UnknownName;
        ObjectRef coll(new FakeCollection);
        if (args.isEmpty()) {
            result = Variant::fromObject(coll);
            return Ok;
        }
        return coll->invoke(QString(), access, args, result, error);
    }
};
} // namespace

TEST_P(ScriptControlBoth, CollectionsOfAPageDocument)
{
    ScriptControl sc;
    sc.setLanguage(QString::fromLatin1(GetParam()));
    sc.addObject(QStringLiteral("Url"), ObjectRef(new FakeDocument));
    ASSERT_TRUE(sc.addCode(pick("x = Url.all(1) & \"|\" & Url.all.length & \"|\" & Url.all.Item(2)\n"
                                "For Each e In Url.all : y = y & e : Next\n",
                                "var x = Url.all(1) + '|' + Url.all.length + '|' + Url.all.Item(2);\n"
                                "var y = ''; for (var en = new Enumerator(Url.all); !en.atEnd(); en.moveNext()) y += en.item();\n")))
        << sc.error().description.toStdString();
    EXPECT_EQ(sc.eval(QStringLiteral("x")).toString(), QStringLiteral("el1|3|el2"));
    EXPECT_EQ(sc.eval(QStringLiteral("y")).toString(), QStringLiteral("el0el1el2"));
}

TEST_P(ScriptControlBoth, ResetFromEventPumpedDuringSleep)
{
    auto *sc = new ScriptControl;
    sc->setLanguage(QString::fromLatin1(GetParam()));
    sc->setTimeout(500);
    auto *host = new FakeHost;
    ObjectRef ref(host);
    int after = 0;
    host->methods[QStringLiteral("appsleep")] = [sc](VariantList &a) {
        ScriptClockPause pause;
        QTimer::singleShot(0, [sc] { sc->reset(); });
        QElapsedTimer t;
        t.start();
        do {
            QCoreApplication::processEvents();
        } while (t.elapsed() < a[0].toLong());
        return Variant();
    };
    host->methods[QStringLiteral("after")] = [&after](VariantList &) {
        ++after;
        return Variant();
    };
    sc->addObject(QStringLiteral("AppControl"), ref);
    EXPECT_FALSE(sc->addCode(pick("On Error Resume Next\nAppControl.AppSleep 700\nAppControl.After\nDo : Loop\n",
                                  "AppControl.AppSleep(700); AppControl.After(); while (true) {}\n")));
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(sc->isRunning());
    delete sc;
}

INSTANTIATE_TEST_SUITE_P(Languages, ScriptControlBoth, ::testing::Values("VBScript", "JScript"));

TEST(ScriptControl, LanguageTagAndReset)
{
    ScriptControl sc;
    EXPECT_EQ(sc.language(), QStringLiteral("VBScript"));
    EXPECT_EQ(sc.timeout(), 10000);
    EXPECT_FALSE(sc.setLanguage(QStringLiteral("Perl")));
    EXPECT_TRUE(sc.setLanguage(QStringLiteral("jscript")));
    EXPECT_EQ(sc.language(), QStringLiteral("JScript"));
    sc.setTag(QStringLiteral("应用"));
    EXPECT_EQ(sc.tag(), QStringLiteral("应用"));
    sc.setLanguage(QStringLiteral("VBScript"));
    EXPECT_TRUE(sc.addCode(QStringLiteral("Dim keep : keep = 1")));
    sc.reset();
    bool ok = true;
    const Variant v = sc.eval(QStringLiteral("IsEmpty(keep)"), &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(v.toBool());
}

TEST(ScriptControl, TimeoutsInsideCallsLeaveNoTrace)
{
    // the time-out strikes at a procedure call as often as at a loop: the
    // engine's call depth and current frame must come back each time
    ScriptControl sc;
    sc.setTimeout(40);
    ASSERT_TRUE(sc.addCode(QStringLiteral("Sub P : End Sub\nSub R(n)\nIf n > 0 Then R n - 1\nEnd Sub")));
    for (int i = 0; i < 15; ++i) {
        EXPECT_FALSE(sc.addCode(QStringLiteral("Do : P : Loop")));
        EXPECT_EQ(sc.error().number, ScriptErrors::Timeout);
    }
    sc.setTimeout(10000);
    EXPECT_TRUE(sc.addCode(QStringLiteral("R 995\nExecute \"y = 1\"")));
    EXPECT_EQ(sc.eval(QStringLiteral("y")).toLong(), 1);
}

TEST(ScriptControl, JavaScriptValueOutlivesItsEngine)
{
    // a callback the host kept from a JScript app that has ended
    ObjectRef kept;
    {
        ScriptControl sc;
        sc.setLanguage(QStringLiteral("JScript"));
        auto *host = new FakeHost;
        ObjectRef ref(host);
        host->methods[QStringLiteral("keep")] = [&kept](VariantList &a) {
            kept = a[0].toObject();
            return Variant();
        };
        sc.addObject(QStringLiteral("Host"), ref);
        ASSERT_TRUE(sc.addCode(QStringLiteral("Host.Keep(function (x) { return x * 2; });")));
        ASSERT_TRUE(kept);
        VariantList args{Variant::fromLong(21)};
        Variant r;
        ScriptError err;
        EXPECT_EQ(kept->invoke(QString(), ScriptObject::Call, args, r, err), ScriptObject::Ok);
        EXPECT_EQ(r.toLong(), 42);
    }
    VariantList args{Variant::fromLong(1)};
    Variant r;
    ScriptError err;
    EXPECT_EQ(kept->invoke(QString(), ScriptObject::Call, args, r, err), ScriptObject::Failed);
    kept = ObjectRef();
}

TEST(ScriptControl, NullObjectIsNothing)
{
    for (const char *lang : {"VBScript", "JScript"}) {
        ScriptControl sc;
        sc.setLanguage(QString::fromLatin1(lang));
        EXPECT_TRUE(sc.addObject(QStringLiteral("Url"), ObjectRef(), true));
        EXPECT_FALSE(sc.addObject(QString(), ObjectRef()));
        const bool vb = QLatin1String(lang) == QLatin1String("VBScript");
        EXPECT_TRUE(sc.eval(vb ? QStringLiteral("Url Is Nothing") : QStringLiteral("Url === null")).toBool());
        EXPECT_FALSE(sc.addCode(vb ? QStringLiteral("x = Url.title") : QStringLiteral("var x = Url.title;")));
        EXPECT_NE(sc.error().number, 0);
    }
}

TEST(ScriptControl, NestedEnginesFromHostCall)
{
    ScriptControl outer, inner;
    auto *host = new FakeHost;
    ObjectRef ref(host);
    host->methods[QStringLiteral("runother")] = [&inner](VariantList &) {
        inner.addCode(QStringLiteral("Dim z : z = 40 + 2"));
        return inner.eval(QStringLiteral("z"));
    };
    outer.addObject(QStringLiteral("H"), ref);
    ASSERT_TRUE(outer.addCode(QStringLiteral("r = H.RunOther()")));
    EXPECT_EQ(outer.eval(QStringLiteral("r")).toLong(), 42);
}

TEST(ScriptControl, HostErrorReachesScript)
{
    ScriptControl sc;
    auto *host = new FakeHost;
    ObjectRef ref(host);
    host->methods[QStringLiteral("opnpassword")] = [](VariantList &) -> Variant {
        throwScriptError(5, QStringLiteral("无法将焦点移到控件"));
    };
    sc.addObject(QStringLiteral("AppControl"), ref, true);
    EXPECT_TRUE(sc.addCode(QStringLiteral("On Error Resume Next\nOpnPassword\nmsg = Err.Description")));
    EXPECT_EQ(sc.eval(QStringLiteral("msg")).toString(), QStringLiteral("无法将焦点移到控件"));
    EXPECT_FALSE(sc.addCode(QStringLiteral("x = 1\nAppControl.OpnPassword")));
    EXPECT_EQ(sc.error().number, 5);
    EXPECT_EQ(sc.error().line, 2);
    EXPECT_EQ(sc.error().description, QStringLiteral("无法将焦点移到控件"));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
