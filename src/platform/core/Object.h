#pragma once
// The base of everything a host or a bridge can reach by name.
//
// An object knows its class (ClassInfo), answers respondsToSelector, performs
// a selector by name with zero, one or two host values, tells whether it
// conforms to a protocol by name, and reads named properties (valueForKey).
// Dispatch goes through the class's method table, walking superclasses; a
// subclass may override the virtuals to answer selectors of its own (the host
// simulator's callback objects do).
//
// Objects are always owned by std::shared_ptr (make them with
// std::make_shared) and never copied; back-references are std::weak_ptr.
// Main thread only.

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace trc::core {

class ClassInfo;
using Args = std::span<const Value>;

class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    // An object has identity (hosts, bridges and back-references reach it
    // by pointer), so neither it nor anything derived from it is copied: a
    // copy would be a second object that nothing reaches.
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    static const ClassInfo& classInfo();  // "NSObject"
    virtual const ClassInfo& objectClass() const { return classInfo(); }
    const std::string& className() const;
    bool isKindOf(const ClassInfo& cls) const;

    virtual bool respondsToSelector(std::string_view selector) const;
    // Throws DispatchError when the selector is unknown or the argument count
    // does not match the method's.
    virtual Value perform(std::string_view selector, Args args);
    Value perform(std::string_view selector) { return perform(selector, Args{}); }
    Value perform(std::string_view selector, const Value& a);
    Value perform(std::string_view selector, const Value& a, const Value& b);

    virtual bool conformsToProtocol(std::string_view protocol) const;
    // Throws DispatchError for a key the class does not name.
    virtual Value valueForKey(std::string_view key) const;
    virtual bool hasValueForKey(std::string_view key) const;
};

}  // namespace trc::core

// Declares the class hooks of an Object subclass; define classInfo() in the
// source with ClassBuilder.
#define TRC_OBJECT(Cls)                                                                \
public:                                                                                \
    static const ::trc::core::ClassInfo& classInfo();                                  \
    const ::trc::core::ClassInfo& objectClass() const override { return classInfo(); } \
                                                                                       \
public:
