#pragma once
// The attachment delegates an owner keeps, one to a key: a row's "_Name",
// or the index path a row without a name was built at. A row is looked up
// on every build, so the table is open-addressed: each slot is one cache
// line holding the key's hash, the key (a name of up to 30 bytes in the
// line itself) and the delegate, and a look-up reads one slot (seldom its
// neighbour) where a tree read a node, and the key's text, at every level.
// Keys are never removed, as delegates live as
// long as their owner; nothing may rely on an order among them. Main
// thread only.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/ui/IndexPath.h"

namespace trc::formcells {

class AttachmentFormViewDelegate;

class AttachmentFormViewDelegateMap {
public:
    // A key as the row holds it, so a look-up builds no name.
    using KeyView = std::variant<std::string_view, ui::IndexPath>;
    using Delegate = std::shared_ptr<AttachmentFormViewDelegate>;

    // The delegate kept under key, or nullptr when there is none.
    const Delegate* find(const KeyView& key) const;
    // Where the delegate of key is kept, made empty when key is new. Valid
    // until the next new key is added.
    Delegate& slot(const KeyView& key);

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

private:
    // A name short enough is held in the slot itself, so telling it from
    // the name looked up reads no other line; a longer one is a string.
    struct ShortName {
        static constexpr std::size_t kMost = 30;
        // No member initializers, which would keep the variant below from
        // being made before the class is complete; made as a variant's
        // alternative, every byte starts at zero.
        std::uint8_t size;
        char bytes[kMost];
        std::string_view view() const { return {bytes, size}; }
    };
    using Key = std::variant<ShortName, std::string, ui::IndexPath>;
    struct alignas(64) Slot {    // a cache line
        std::uint64_t hash = 0;  // 0: the slot is free
        Delegate delegate;
        Key key;
    };
    static_assert(sizeof(Slot) == 64);

    static std::uint64_t hashOf(const KeyView& key);
    static bool sameKey(const Key& held, const KeyView& key);
    // The slot of key, or the free slot where it would go.
    std::size_t probe(const KeyView& key, std::uint64_t hash) const;
    void grow();

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

}  // namespace trc::formcells
