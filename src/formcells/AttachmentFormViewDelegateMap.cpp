#include "formcells/AttachmentFormViewDelegateMap.h"

#include <functional>
#include <utility>

namespace trc::formcells {

namespace {

// Half full at most, so that a look-up seldom reads a second slot.
constexpr std::size_t kFirstCapacity = 16;

// Spreads a hash over the table's width (Fibonacci hashing): index paths
// hash to near neighbours, which would otherwise crowd one end.
std::size_t home(std::uint64_t hash, std::size_t capacity) {
    return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ULL) >> 32) & (capacity - 1);
}

}  // namespace

std::uint64_t AttachmentFormViewDelegateMap::hashOf(const KeyView& key) {
    std::uint64_t hash = 0;
    if (const auto* name = std::get_if<std::string_view>(&key)) {
        hash = std::hash<std::string_view>()(*name);
    } else {
        hash = std::hash<ui::IndexPath>()(std::get<ui::IndexPath>(key)) ^ 0x5bd1e9955bd1e995ULL;
    }
    return hash == 0 ? 1 : hash;
}

bool AttachmentFormViewDelegateMap::sameKey(const Key& held, const KeyView& key) {
    if (held.index() != key.index()) return false;
    if (const auto* name = std::get_if<std::string>(&held)) return *name == std::get<std::string_view>(key);
    return std::get<ui::IndexPath>(held) == std::get<ui::IndexPath>(key);
}

std::size_t AttachmentFormViewDelegateMap::probe(const KeyView& key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = home(hash, slots_.size());; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.hash == 0 || (s.hash == hash && sameKey(s.key, key))) return i;
    }
}

const AttachmentFormViewDelegateMap::Delegate* AttachmentFormViewDelegateMap::find(const KeyView& key) const {
    if (slots_.empty()) return nullptr;
    const Slot& s = slots_[probe(key, hashOf(key))];
    return s.hash == 0 ? nullptr : &s.delegate;
}

AttachmentFormViewDelegateMap::Delegate& AttachmentFormViewDelegateMap::slot(const KeyView& key) {
    const std::uint64_t hash = hashOf(key);
    if (!slots_.empty()) {
        Slot& s = slots_[probe(key, hash)];
        if (s.hash != 0) return s.delegate;
    }
    if ((size_ + 1) * 2 > slots_.size()) grow();
    Slot& s = slots_[probe(key, hash)];
    if (const auto* name = std::get_if<std::string_view>(&key)) {
        s.key.emplace<std::string>(*name);
    } else {
        s.key = std::get<ui::IndexPath>(key);
    }
    s.hash = hash;
    ++size_;
    return s.delegate;
}

void AttachmentFormViewDelegateMap::grow() {
    std::vector<Slot> old(slots_.empty() ? kFirstCapacity : slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (Slot& s : old) {
        if (s.hash == 0) continue;
        std::size_t i = home(s.hash, slots_.size());
        while (slots_[i].hash != 0) i = (i + 1) & mask;
        slots_[i] = std::move(s);
    }
}

}  // namespace trc::formcells
