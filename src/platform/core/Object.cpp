#include "platform/core/Object.h"

#include "platform/core/ClassInfo.h"

namespace trc::core {

const ClassInfo& Object::classInfo() {
    static const ClassInfo& info = ClassBuilder<Object>("NSObject").constructible().build();
    return info;
}

const std::string& Object::className() const { return objectClass().name(); }

bool Object::isKindOf(const ClassInfo& cls) const { return objectClass().isSubclassOf(cls); }

bool Object::respondsToSelector(std::string_view selector) const {
    return objectClass().findMethod(selector) != nullptr;
}

Value Object::perform(std::string_view selector, Args args) {
    const ClassInfo::Method* m = objectClass().findMethod(selector);
    if (!m) {
        throw DispatchError("an object of class " + className() + " does not answer \"" + std::string(selector) + "\"");
    }
    if (static_cast<int>(args.size()) != m->arity) {
        throw DispatchError("\"" + std::string(selector) + "\" of class " + className() + " takes " +
                            std::to_string(m->arity) + " argument(s), " + std::to_string(args.size()) + " given");
    }
    return m->fn(*this, args);
}

Value Object::perform(std::string_view selector, const Value& a) {
    const Value args[] = {a};
    return perform(selector, Args(args));
}

Value Object::perform(std::string_view selector, const Value& a, const Value& b) {
    const Value args[] = {a, b};
    return perform(selector, Args(args));
}

bool Object::conformsToProtocol(std::string_view protocol) const { return objectClass().conformsTo(protocol); }

Value Object::valueForKey(std::string_view key) const {
    const ClassInfo::PropertyFn* p = objectClass().findProperty(key);
    if (!p) throw DispatchError("an object of class " + className() + " has no property \"" + std::string(key) + "\"");
    return (*p)(*this);
}

bool Object::hasValueForKey(std::string_view key) const { return objectClass().findProperty(key) != nullptr; }

}  // namespace trc::core
