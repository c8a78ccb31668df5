#include "VbInstance.h"

#include "ScriptArray.h"
#include "VbEngine.h"

VbInstance::VbInstance(VbEngine *e, VbClassDef *c, std::shared_ptr<bool> a)
    : engine(e), cls(c), fields(c->fieldNames.size()), alive(a ? std::move(a) : std::make_shared<bool>(true))
{
    for (const VbArrayDecl &d : c->fieldArrays) {
        std::vector<ScriptArray::Bound> b;
        for (int u : d.upper)
            b.push_back(ScriptArray::Bound{0, u + 1});
        auto *arr = new ScriptArray(b);
        arr->fixed = d.slot != -3;
        fields[size_t(d.field)] = Variant::fromArray(arr);
    }
}

QString VbInstance::typeName() const
{
    return *alive ? cls->name : QStringLiteral("Object");
}

void VbInstance::releaseReferences()
{
    std::vector<Variant> old;
    old.swap(fields);
    fields.resize(old.size());
}

void VbInstance::aboutToDelete()
{
    if (!*alive || !cls->terminate || engine->closing())
        return;
    try {
        engine->callProcValues(cls->terminate, this, nullptr, 0);
    } catch (...) {
        // errors of Class_Terminate are not reported
    }
}

ScriptObject::Status VbInstance::invoke(const QString &name, int access, VariantList &args, Variant &result,
                                        ScriptError &error)
{
    if (!*alive || engine->closing())
        return fail(error, ScriptErrors::Unexpected);
    const QString lower = name.isEmpty() ? cls->defaultMember : name.toLower();
    if (lower.isEmpty())
        return UnknownName;
    auto it = cls->members.constFind(lower);
    if (it == cls->members.constEnd() || !it->isPublic)
        return UnknownName;
    const VbClassMember &m = it.value();
    try {
        if (access & (Put | PutRef)) {
            if (m.field >= 0) {
                Variant &v = fields[size_t(m.field)];
                if (args.isEmpty()) {
                    v = (access & PutRef) ? result : (result.isObject() ? result.valueOf() : result);
                } else if (v.isArray()) {
                    v.setArrayWritable();
                    ScriptArray *a = v.rawArray();
                    a->at(a->flatIndex(args.data(), int(args.size()))) = result;
                } else {
                    return fail(error, ScriptErrors::TypeMismatch);
                }
                return Ok;
            }
            VbProcedure *p = (access & PutRef) ? (m.set ? m.set : m.let) : (m.let ? m.let : m.set);
            if (!p)
                return fail(error, ScriptErrors::IllegalAssignment);
            VariantList all = args;
            all.push_back(result);
            engine->callProcValues(p, this, all.data(), int(all.size()));
            return Ok;
        }
        if (m.field >= 0) {
            const Variant &v = fields[size_t(m.field)];
            if (args.isEmpty()) {
                result = v;
            } else if (v.isArray()) {
                result = v.rawArray()->at(v.rawArray()->flatIndex(args.data(), int(args.size())));
            } else {
                return fail(error, ScriptErrors::TypeMismatch);
            }
            return Ok;
        }
        if (m.method && access == Get)
            return UnknownName;
        VbProcedure *p = m.method ? m.method : m.get;
        if (!p)
            return UnknownName;
        result = engine->callProcValues(p, this, args.data(), int(args.size()));
        return Ok;
    } catch (const ScriptException &e) {
        error.number = e.number;
        error.description = e.description.isEmpty() ? ScriptErrors::description(e.number) : e.description;
        error.source = e.source.isEmpty() ? ScriptErrors::runtimeSource() : e.source;
        error.line = e.line;
        error.column = e.column;
        return Failed;
    }
}

