// Runs every script of the corpus (vbs/*.vbs, js/*.js) through the script
// control and compares what it prints with the .expected file beside it. A
// script that fails ends its output with "Error <n>: <text> (line L, column C)",
// as scriptrun prints it.
#include "Gbk.h"
#include "ScriptControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <gtest/gtest.h>

namespace {

class EchoObject : public ScriptObject
{
public:
    explicit EchoObject(QString *out) : m_out(out) {}
    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override
    {
        if (!sameName(name, QStringLiteral("Echo")) || access == Get)
            return UnknownName;
        try {
            for (qsizetype i = 0; i < args.size(); ++i) {
                if (i)
                    *m_out += QLatin1Char(' ');
                if (!args[i].isMissing())
                    *m_out += args[i].displayText();
            }
        } catch (const ScriptException &e) {
            return fail(error, e.number, e.description);
        }
        *m_out += QLatin1Char('\n');
        result = Variant();
        return Ok;
    }
    QStringList memberNames() const override { return {QStringLiteral("Echo")}; }

private:
    QString *m_out;
};

QString readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = Gbk::decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString runScript(const QString &path, const QString &language)
{
    QString out;
    ScriptControl sc;
    sc.setLanguage(language);
    sc.setTimeout(20000);
    sc.setAllowUI(false);
    sc.addObject(QStringLiteral("WScript"), ObjectRef(new EchoObject(&out)), false);
    if (!sc.addCode(readText(path))) {
        const ScriptError &e = sc.error();
        out += QStringLiteral("Error %1: %2 (line %3, column %4)\n")
                   .arg(e.number).arg(e.description).arg(e.line).arg(e.column);
    }
    return out;
}

void runCorpus(const QString &folder, const QString &suffix, const QString &language)
{
    QDir dir(QStringLiteral(SCRIPT_CORPUS_DIR) + QLatin1Char('/') + folder);
    const QStringList files = dir.entryList(QStringList() << (QStringLiteral("*.") + suffix), QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << "no scripts in " << dir.path().toStdString();
    int checked = 0;
    for (const QString &file : files) {
        const QString path = dir.filePath(file);
        QString expectedPath = path;
        expectedPath.chop(suffix.size());
        expectedPath += QStringLiteral("expected");
        SCOPED_TRACE(file.toStdString());
        ASSERT_TRUE(QFile::exists(expectedPath)) << "missing " << expectedPath.toStdString();
        const QString actual = runScript(path, language);
        const QString expected = readText(expectedPath);
        EXPECT_EQ(actual.toStdString(), expected.toStdString());
        ++checked;
    }
    EXPECT_EQ(checked, files.size());
}

} // namespace

TEST(ScriptConformance, VBScriptCorpus)
{
    runCorpus(QStringLiteral("vbs"), QStringLiteral("vbs"), QStringLiteral("VBScript"));
}

TEST(ScriptConformance, JScriptCorpus)
{
    runCorpus(QStringLiteral("js"), QStringLiteral("js"), QStringLiteral("JScript"));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
