#pragma once
// Telling an object's class without the cast that walks the class tree.
// Where the classes are deep and an object is, as a rule, of one known class
// itself, comparing its class record answers in a few instructions; the cast
// that walks the tree is kept for the other classes, so the answer is always
// the one dynamic_cast gives.

#include <cstdint>
#include <memory>
#include <typeinfo>

namespace trc::core {

// Whether object is of class T itself, not of a class derived from T.
template <class T, class U>
bool isExactly(const U& object) noexcept {
    return typeid(object) == typeid(T);
}

// object as a T, or nullptr: an object of class T itself is cast without
// walking the class tree.
template <class T, class U>
T* exactOrDynamicCast(U* object) {
    if (!object) return nullptr;
    return isExactly<T>(*object) ? static_cast<T*>(object) : dynamic_cast<T*>(object);
}

template <class T, class U>
std::shared_ptr<T> exactOrDynamicCast(const std::shared_ptr<U>& object) {
    if (!object) return nullptr;
    return isExactly<T>(*object) ? std::static_pointer_cast<T>(object) : std::dynamic_pointer_cast<T>(object);
}

// object as a T, or nullptr, for code that meets objects of a handful of
// classes over and over (a table's cells): whether a class is a T never
// changes, so the answer is remembered per class, in a small table per
// thread where a class that meets another in its slot simply takes it over.
template <class T, class U>
T* rememberedCast(U& object) {
    struct Slot {
        const std::type_info* type = nullptr;
        bool isT = false;
    };
    constexpr std::size_t kSlots = 32;
    thread_local Slot slots[kSlots];
    const std::type_info* type = &typeid(object);
    // Class records are aligned objects: the low bits carry nothing.
    Slot& slot = slots[(reinterpret_cast<std::uintptr_t>(type) >> 4) % kSlots];
    if (slot.type != type) slot = {type, dynamic_cast<T*>(&object) != nullptr};
    return slot.isT ? static_cast<T*>(&object) : nullptr;
}

template <class T, class U>
std::shared_ptr<T> rememberedCast(const std::shared_ptr<U>& object) {
    if (!object || !rememberedCast<T>(*object)) return nullptr;
    return std::static_pointer_cast<T>(object);
}

}  // namespace trc::core
