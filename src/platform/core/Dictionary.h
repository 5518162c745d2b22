#pragma once
// A string-keyed dictionary of host values.
//
// An absent key and a key holding the null object (or nil) are different
// things: find() gives nullptr only for an absent key. Keys iterate in byte
// order, which keeps written JSON and transcripts stable.
//
// Layout: one vector of entries sorted by key, looked up by binary search
// with a string_view (no key string is built to look a key up). A parameter
// dictionary of a few dozen entries reads faster this way than through a
// tree and takes one allocation instead of one per entry. Adding a key moves
// the entries after it, so a pointer from find() or a reference from
// operator[] holds only until the next set(), operator[] of a new key,
// erase() or merge() on the same dictionary.
//
// Beside the entries it keeps one bit per key (a key's length and its first
// and last bytes pick the bit): a setter asks for many keys a row does not
// have, and the bit answers most of those without reading an entry.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Value holds dictionaries by pointer and includes this header at its end;
// the entries below hold Values, so Value must be complete first, whichever
// of the two headers a file includes.
#include "platform/core/Value.h"

namespace trc::core {

class Dictionary {
public:
    using Entry = std::pair<std::string, Value>;
    using const_iterator = std::vector<Entry>::const_iterator;

    Dictionary() = default;
    // Of entries under one key, the first counts.
    Dictionary(std::initializer_list<std::pair<const std::string, Value>> init);
    // Entries in any order; of entries under one key the last counts, as
    // setting them one after the other would.
    static Dictionary fromEntries(std::vector<Entry> entries);

    const Value* find(std::string_view key) const { return mayContain(key) ? findEntry(key) : nullptr; }
    Value* find(std::string_view key);
    bool contains(std::string_view key) const { return find(key) != nullptr; }
    // False only when key is surely absent; read from the key bits alone,
    // inline, so a reader can rule out a key without a call.
    bool mayContain(std::string_view key) const { return (keyBits_ & bitOf(key)) != 0; }
    // The value under key, or nil when absent.
    Value get(std::string_view key) const;

    void set(std::string key, Value value);
    Value& operator[](std::string_view key);
    bool erase(std::string_view key);
    void merge(const Dictionary& other);  // other's entries win

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // Entries are read-only through iteration: a changed key would break the order.
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

    friend bool operator==(const Dictionary& a, const Dictionary& b);

private:
    std::vector<Entry>::iterator lowerBound(std::string_view key);
    std::vector<Entry>::const_iterator lowerBound(std::string_view key) const;

    static std::uint64_t bitOf(std::string_view key) {
        if (key.empty()) return 1;
        const auto first = static_cast<unsigned char>(key.front());
        const auto last = static_cast<unsigned char>(key.back());
        return std::uint64_t{1} << ((key.size() + first * 22u + last) & 63u);
    }
    void rebuildKeyBits();
    const Value* findEntry(std::string_view key) const;

    std::vector<Entry> entries_;
    // Every key's bit is set; a bit may stay set for a key no longer there.
    std::uint64_t keyBits_ = 0;
};

}  // namespace trc::core
