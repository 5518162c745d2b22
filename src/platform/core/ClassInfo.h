#pragma once
// The run-time description of a class: its name, superclass, instance and
// class methods by selector, the properties valueForKey reads, the protocols
// it adopts, and how to make an instance. A ClassInfo registers itself with
// the ClassRegistry when it is built, so a host finds it by name.
//
// Selectors: a method's argument count is, unless given, the number of
// colons of its selector ("createWithParams:" takes one). Bare names without
// a colon are the callbacks the library sends to host objects.

#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "platform/core/Object.h"

namespace trc::core {

// Raised for a selector or key a class does not have, or a wrong argument count.
class DispatchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int selectorArity(std::string_view selector);

class ClassInfo {
public:
    using MethodFn = std::function<Value(Object& self, Args args)>;
    using ClassMethodFn = std::function<Value(Args args)>;
    using PropertyFn = std::function<Value(const Object& self)>;
    using ClassPropertyFn = std::function<Value()>;
    using Factory = std::function<std::shared_ptr<Object>()>;

    struct Method {
        int arity = 0;
        MethodFn fn;
    };
    struct ClassMethod {
        int arity = 0;
        ClassMethodFn fn;
    };

    const std::string& name() const { return name_; }
    const ClassInfo* superclass() const { return superclass_; }
    bool isSubclassOf(const ClassInfo& other) const;

    const Method* findMethod(std::string_view selector) const;
    const ClassMethod* findClassMethod(std::string_view selector) const;
    const PropertyFn* findProperty(std::string_view key) const;
    const ClassPropertyFn* findClassProperty(std::string_view key) const;
    bool conformsTo(std::string_view protocol) const;

    bool canInstantiate() const;
    // A new instance, or nullptr when the class has no factory.
    std::shared_ptr<Object> instantiate() const;

    // Calls a class method; throws DispatchError when unknown or misused.
    Value performClassMethod(std::string_view selector, Args args) const;

private:
    template <class T>
    friend class ClassBuilder;
    friend class Object;

    std::string name_;
    const ClassInfo* superclass_ = nullptr;
    std::unordered_map<std::string, Method> methods_;
    std::unordered_map<std::string, ClassMethod> classMethods_;
    std::unordered_map<std::string, PropertyFn> properties_;
    std::unordered_map<std::string, ClassPropertyFn> classProperties_;
    std::set<std::string, std::less<>> protocols_;
    Factory factory_;
};

// Builds and registers the ClassInfo of T:
//   static const ClassInfo& X::classInfo() {
//       static const ClassInfo& info = ClassBuilder<X>("X", Base::classInfo())
//           .constructible()
//           .method("doIt:", [](X& self, Args a) { ...; return Value(); })
//           .property("name", [](const X& self) { return Value(self.name); })
//           .build();
//       return info;
//   }
template <class T>
class ClassBuilder {
public:
    ClassBuilder(std::string name, const ClassInfo& superclass) : info_(std::make_unique<ClassInfo>()) {
        info_->name_ = std::move(name);
        info_->superclass_ = &superclass;
    }
    // Root classes only.
    explicit ClassBuilder(std::string name) : info_(std::make_unique<ClassInfo>()) { info_->name_ = std::move(name); }

    ClassBuilder& constructible() {
        if constexpr (std::is_default_constructible_v<T>) {
            info_->factory_ = [] { return std::static_pointer_cast<Object>(std::make_shared<T>()); };
        }
        return *this;
    }
    ClassBuilder& factory(ClassInfo::Factory f) {
        info_->factory_ = std::move(f);
        return *this;
    }
    template <class F>
    ClassBuilder& method(std::string selector, F fn, int arity = -1) {
        int n = arity >= 0 ? arity : selectorArity(selector);
        info_->methods_[std::move(selector)] = {
            n, [fn = std::move(fn)](Object& self, Args args) -> Value { return fn(static_cast<T&>(self), args); }};
        return *this;
    }
    template <class F>
    ClassBuilder& classMethod(std::string selector, F fn, int arity = -1) {
        int n = arity >= 0 ? arity : selectorArity(selector);
        info_->classMethods_[std::move(selector)] = {n, ClassInfo::ClassMethodFn(std::move(fn))};
        return *this;
    }
    template <class F>
    ClassBuilder& property(std::string key, F fn) {
        info_->properties_[std::move(key)] = [fn = std::move(fn)](const Object& self) -> Value {
            return fn(static_cast<const T&>(self));
        };
        return *this;
    }
    template <class F>
    ClassBuilder& classProperty(std::string key, F fn) {
        info_->classProperties_[std::move(key)] = ClassInfo::ClassPropertyFn(std::move(fn));
        return *this;
    }
    ClassBuilder& protocol(std::string name) {
        info_->protocols_.insert(std::move(name));
        return *this;
    }
    // Registers the class by name and hands back the description, which lives
    // for the process.
    const ClassInfo& build();

private:
    std::unique_ptr<ClassInfo> info_;
};

const ClassInfo& registerClassInfo(std::unique_ptr<ClassInfo> info);

template <class T>
const ClassInfo& ClassBuilder<T>::build() {
    return registerClassInfo(std::move(info_));
}

}  // namespace trc::core
