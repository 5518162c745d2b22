#include "platform/core/ClassInfo.h"

#include <algorithm>

namespace trc::core {

namespace {

// The entry of the nearest class up the superclass chain whose table (one of
// the ClassInfo maps) has the key, so a subclass entry hides its superclass's.
template <class Map>
const typename Map::mapped_type* findInChain(const ClassInfo& start, Map ClassInfo::*table, std::string_view key) {
    const std::string k(key);
    for (const ClassInfo* c = &start; c; c = c->superclass()) {
        const Map& entries = c->*table;
        if (auto it = entries.find(k); it != entries.end()) return &it->second;
    }
    return nullptr;
}

}  // namespace

int selectorArity(std::string_view selector) {
    return static_cast<int>(std::count(selector.begin(), selector.end(), ':'));
}

bool ClassInfo::isSubclassOf(const ClassInfo& other) const {
    for (const ClassInfo* c = this; c; c = c->superclass_) {
        if (c == &other) return true;
    }
    return false;
}

const ClassInfo::Method* ClassInfo::findMethod(std::string_view selector) const {
    return findInChain(*this, &ClassInfo::methods_, selector);
}

const ClassInfo::ClassMethod* ClassInfo::findClassMethod(std::string_view selector) const {
    return findInChain(*this, &ClassInfo::classMethods_, selector);
}

const ClassInfo::PropertyFn* ClassInfo::findProperty(std::string_view key) const {
    return findInChain(*this, &ClassInfo::properties_, key);
}

const ClassInfo::ClassPropertyFn* ClassInfo::findClassProperty(std::string_view key) const {
    return findInChain(*this, &ClassInfo::classProperties_, key);
}

bool ClassInfo::conformsTo(std::string_view protocol) const {
    for (const ClassInfo* c = this; c; c = c->superclass_) {
        if (c->protocols_.find(protocol) != c->protocols_.end()) return true;
    }
    return false;
}

bool ClassInfo::canInstantiate() const { return static_cast<bool>(factory_); }

std::shared_ptr<Object> ClassInfo::instantiate() const { return factory_ ? factory_() : nullptr; }

Value ClassInfo::performClassMethod(std::string_view selector, Args args) const {
    const ClassMethod* m = findClassMethod(selector);
    if (!m) throw DispatchError("class " + name_ + " has no class method \"" + std::string(selector) + "\"");
    if (static_cast<int>(args.size()) != m->arity) {
        throw DispatchError("\"" + std::string(selector) + "\" of class " + name_ + " takes " +
                            std::to_string(m->arity) + " argument(s), " + std::to_string(args.size()) + " given");
    }
    return m->fn(args);
}

}  // namespace trc::core
