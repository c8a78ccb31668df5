// libFuzzer entry for the VBScript lexer, parser and interpreter. Built only
// with clang and TESSIVANE_SCRIPT_LIBFUZZER=ON:
//   cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DTESSIVANE_SCRIPT_LIBFUZZER=ON
//   cmake --build build-fuzz --target script_libfuzzer
//   build-fuzz/bin/script_libfuzzer -max_total_time=60 -timeout=5 tests/script/vbs
#include "ScriptControl.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>

namespace {
class Sink : public ScriptObject
{
public:
    Status invoke(const QString &, int access, VariantList &, Variant &result, ScriptError &) override
    {
        if (access == Get)
            return UnknownName;
        result = Variant();
        return Ok;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "script_libfuzzer";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    Q_UNUSED(app);
    const QString code = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    ScriptControl sc;
    sc.setTimeout(200);
    sc.setAllowUI(false);
    sc.addObject(QStringLiteral("WScript"), ObjectRef(new Sink), true);
    sc.addCode(code);
    return 0;
}
