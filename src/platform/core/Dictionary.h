#pragma once
// A string-keyed dictionary of host values.
//
// An absent key and a key holding the null object (or nil) are different
// things: find() gives nullptr only for an absent key. Keys iterate in byte
// order, which keeps written JSON and transcripts stable.

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace trc::core {

class Value;

class Dictionary {
public:
    using Map = std::map<std::string, Value, std::less<>>;
    using const_iterator = Map::const_iterator;
    using iterator = Map::iterator;

    Dictionary() = default;
    Dictionary(std::initializer_list<std::pair<const std::string, Value>> init);

    const Value* find(std::string_view key) const;
    Value* find(std::string_view key);
    bool contains(std::string_view key) const { return find(key) != nullptr; }
    // The value under key, or nil when absent.
    Value get(std::string_view key) const;

    void set(std::string key, Value value);
    Value& operator[](std::string_view key);
    bool erase(std::string_view key);
    void merge(const Dictionary& other);  // other's entries win

    std::size_t size() const { return map_.size(); }
    bool empty() const { return map_.empty(); }
    const_iterator begin() const { return map_.begin(); }
    const_iterator end() const { return map_.end(); }
    iterator begin() { return map_.begin(); }
    iterator end() { return map_.end(); }

    friend bool operator==(const Dictionary& a, const Dictionary& b);

private:
    Map map_;
};

}  // namespace trc::core
