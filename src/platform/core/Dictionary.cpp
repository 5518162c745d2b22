#include "platform/core/Dictionary.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/core/Value.h"

namespace trc::core {

namespace {

// Up to this many entries a look-up scans instead of searching.
constexpr std::size_t kScanLimit = 12;

// Byte order; most keys of a parameter dictionary differ in their first
// byte, which settles the comparison without a call to memcmp.
bool keyBefore(const Dictionary::Entry& e, std::string_view key) {
    if (!e.first.empty() && !key.empty() && e.first.front() != key.front()) {
        return static_cast<unsigned char>(e.first.front()) < static_cast<unsigned char>(key.front());
    }
    return std::string_view(e.first) < key;
}
template <class Word>
Word loaded(const char* p) {
    Word w;
    std::memcpy(&w, p, sizeof w);
    return w;
}
std::uint64_t word(const char* p) { return loaded<std::uint64_t>(p); }
std::uint32_t half(const char* p) { return loaded<std::uint32_t>(p); }
// Whether the n bytes at a and b are the same. Keys are short: words
// compared inline (the last one overlapping the one before) cost less than
// a call to memcmp for each key found.
bool sameBytes(const char* a, const char* b, std::size_t n) {
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            if (word(a + i) != word(b + i)) return false;
        }
        return word(a + n - 8) == word(b + n - 8);
    }
    if (n >= 4) return half(a) == half(b) && half(a + n - 4) == half(b + n - 4);
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}
bool heldKeyIs(const std::string& held, std::string_view key) {
    return held.size() == key.size() && sameBytes(held.data(), key.data(), key.size());
}

// The entry of a dictionary under key, for the keys and dictionaries the
// short road leaves: a long dictionary is searched, a short one scanned
// comparing each entry of the key's length. Kept apart, so that the short
// road keeps its values in the registers a call may overwrite, saving none.
[[gnu::noinline]] const Value* findAnyEntry(const std::vector<Dictionary::Entry>& entries, std::string_view key) {
    if (entries.size() > kScanLimit) {
        auto it = std::lower_bound(entries.begin(), entries.end(), key, keyBefore);
        return it != entries.end() && heldKeyIs(it->first, key) ? &it->second : nullptr;
    }
    for (const auto& e : entries) {
        if (heldKeyIs(e.first, key)) return &e.second;
    }
    return nullptr;
}

// The entry of a short dictionary under a key of 4 to 16 bytes (nearly every
// key a row asks), scanned: only entries of the key's length have their text
// read, against the key's first and last word (or half-word) loaded once.
template <class Word>
const Value* scanFor(const std::vector<Dictionary::Entry>& entries, std::string_view key) {
    const std::size_t n = key.size();
    const Word head = loaded<Word>(key.data());
    const Word tail = loaded<Word>(key.data() + n - sizeof(Word));
    for (const auto& e : entries) {
        if (e.first.size() == n && loaded<Word>(e.first.data()) == head &&
            loaded<Word>(e.first.data() + n - sizeof(Word)) == tail) {
            return &e.second;
        }
    }
    return nullptr;
}

bool entryBefore(const Dictionary::Entry& a, const Dictionary::Entry& b) { return a.first < b.first; }
bool sameKey(const Dictionary::Entry& a, const Dictionary::Entry& b) { return a.first == b.first; }

// Sorts entries by key and keeps one entry per key: the first or the last of
// those given under it.
void sortAndDropRepeats(std::vector<Dictionary::Entry>& entries, bool lastWins) {
    if (!std::is_sorted(entries.begin(), entries.end(), entryBefore)) {
        std::stable_sort(entries.begin(), entries.end(), entryBefore);
    }
    if (std::adjacent_find(entries.begin(), entries.end(), sameKey) == entries.end()) return;
    if (lastWins) {
        entries.erase(entries.begin(), std::unique(entries.rbegin(), entries.rend(), sameKey).base());
    } else {
        entries.erase(std::unique(entries.begin(), entries.end(), sameKey), entries.end());
    }
}

}  // namespace

Dictionary::Dictionary(std::initializer_list<std::pair<const std::string, Value>> init) {
    entries_.reserve(init.size());
    for (const auto& [k, v] : init) entries_.emplace_back(k, v);
    sortAndDropRepeats(entries_, false);
    rebuildKeyBits();
}

Dictionary Dictionary::fromEntries(std::vector<Entry> entries) {
    Dictionary d;
    d.entries_ = std::move(entries);
    sortAndDropRepeats(d.entries_, true);
    d.rebuildKeyBits();
    return d;
}

void Dictionary::rebuildKeyBits() {
    keyBits_ = 0;
    for (const auto& e : entries_) keyBits_ |= bitOf(e.first);
}

std::vector<Dictionary::Entry>::iterator Dictionary::lowerBound(std::string_view key) {
    return std::lower_bound(entries_.begin(), entries_.end(), key, keyBefore);
}

std::vector<Dictionary::Entry>::const_iterator Dictionary::lowerBound(std::string_view key) const {
    return std::lower_bound(entries_.begin(), entries_.end(), key, keyBefore);
}

const Value* Dictionary::findEntry(std::string_view key) const {
    // A parameter dictionary is short: comparing lengths first rules out
    // most entries without touching their text.
    if (entries_.size() <= kScanLimit) {
        if (key.size() >= 8 && key.size() <= 16) return scanFor<std::uint64_t>(entries_, key);
        if (key.size() >= 4 && key.size() < 8) return scanFor<std::uint32_t>(entries_, key);
    }
    return findAnyEntry(entries_, key);
}

Value* Dictionary::find(std::string_view key) { return const_cast<Value*>(std::as_const(*this).find(key)); }

Value Dictionary::get(std::string_view key) const {
    const Value* v = find(key);
    return v ? *v : Value();
}

void Dictionary::set(std::string key, Value value) {
    keyBits_ |= bitOf(key);
    auto it = lowerBound(key);
    if (it != entries_.end() && it->first == key) {
        it->second = std::move(value);
    } else {
        entries_.emplace(it, std::move(key), std::move(value));
    }
}

Value& Dictionary::operator[](std::string_view key) {
    auto it = lowerBound(key);
    if (it == entries_.end() || it->first != key) {
        it = entries_.emplace(it, std::string(key), Value());
        keyBits_ |= bitOf(key);
    }
    return it->second;
}

bool Dictionary::erase(std::string_view key) {
    auto it = lowerBound(key);
    if (it == entries_.end() || it->first != key) return false;
    entries_.erase(it);
    rebuildKeyBits();
    return true;
}

void Dictionary::merge(const Dictionary& other) {
    if (&other == this || other.empty()) return;
    keyBits_ |= other.keyBits_;
    if (entries_.empty()) {
        entries_ = other.entries_;
        return;
    }
    // Both sides are sorted: one pass, other's entry where both have a key.
    std::vector<Entry> merged;
    merged.reserve(entries_.size() + other.entries_.size());
    auto mine = entries_.begin();
    auto theirs = other.entries_.begin();
    while (mine != entries_.end() || theirs != other.entries_.end()) {
        if (theirs == other.entries_.end() || (mine != entries_.end() && mine->first < theirs->first)) {
            merged.push_back(std::move(*mine++));
        } else {
            if (mine != entries_.end() && mine->first == theirs->first) ++mine;
            merged.push_back(*theirs++);
        }
    }
    entries_ = std::move(merged);
}

bool operator==(const Dictionary& a, const Dictionary& b) { return a.entries_ == b.entries_; }

}  // namespace trc::core
