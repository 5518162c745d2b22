#include "formcells/AttachmentFormViewDelegateMap.h"

#include <cstring>
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

// A name's hash, eight bytes at a time: names are a row's few dozen
// bytes, and Fibonacci hashing spreads what this leaves close.
std::uint64_t hashName(std::string_view name) {
    constexpr std::uint64_t kMix = 0xff51afd7ed558ccdULL;
    std::uint64_t hash = 0x9E3779B97F4A7C15ULL ^ name.size();
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        std::uint64_t chunk = 0;
        std::memcpy(&chunk, name.data() + at, 8);
        hash = (hash ^ chunk) * kMix;
        hash ^= hash >> 32;
    }
    if (at < name.size()) {
        // The last eight bytes, overlapping those taken, when there are eight.
        std::uint64_t chunk = 0;
        if (name.size() >= 8) {
            std::memcpy(&chunk, name.data() + name.size() - 8, 8);
        } else {
            for (const char c : name) chunk = chunk << 8 | static_cast<unsigned char>(c);
        }
        hash = (hash ^ chunk) * kMix;
    }
    hash ^= hash >> 29;
    hash *= 0xbf58476d1ce4e5b9ULL;
    return hash ^ (hash >> 32);
}

}  // namespace

std::uint64_t AttachmentFormViewDelegateMap::hashOf(const KeyView& key) {
    std::uint64_t hash = 0;
    if (const auto* name = std::get_if<std::string_view>(&key)) {
        hash = hashName(*name);
    } else {
        hash = std::hash<ui::IndexPath>()(std::get<ui::IndexPath>(key)) ^ 0x5bd1e9955bd1e995ULL;
    }
    return hash == 0 ? 1 : hash;
}

bool AttachmentFormViewDelegateMap::sameKey(const Key& held, const KeyView& key) {
    if (const auto* path = std::get_if<ui::IndexPath>(&held)) {
        const auto* wanted = std::get_if<ui::IndexPath>(&key);
        return wanted && *path == *wanted;
    }
    const auto* name = std::get_if<std::string_view>(&key);
    if (!name) return false;
    if (const auto* inSlot = std::get_if<ShortName>(&held)) return inSlot->view() == *name;
    return std::get<std::string>(held) == *name;
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
    if (const auto* name = std::get_if<std::string_view>(&key); name && name->size() <= ShortName::kMost) {
        auto& inSlot = s.key.emplace<ShortName>();
        inSlot.size = static_cast<std::uint8_t>(name->size());
        std::memcpy(inSlot.bytes, name->data(), name->size());
    } else if (name) {
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
