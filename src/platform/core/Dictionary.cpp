#include "platform/core/Dictionary.h"

#include "platform/core/Value.h"

namespace trc::core {

Dictionary::Dictionary(std::initializer_list<std::pair<const std::string, Value>> init) : map_(init) {}

const Value* Dictionary::find(std::string_view key) const {
    auto it = map_.find(key);
    return it == map_.end() ? nullptr : &it->second;
}

Value* Dictionary::find(std::string_view key) {
    auto it = map_.find(key);
    return it == map_.end() ? nullptr : &it->second;
}

Value Dictionary::get(std::string_view key) const {
    const Value* v = find(key);
    return v ? *v : Value();
}

void Dictionary::set(std::string key, Value value) { map_.insert_or_assign(std::move(key), std::move(value)); }

Value& Dictionary::operator[](std::string_view key) {
    auto it = map_.find(key);
    if (it == map_.end()) it = map_.emplace(std::string(key), Value()).first;
    return it->second;
}

bool Dictionary::erase(std::string_view key) {
    auto it = map_.find(key);
    if (it == map_.end()) return false;
    map_.erase(it);
    return true;
}

void Dictionary::merge(const Dictionary& other) {
    for (const auto& [k, v] : other) map_.insert_or_assign(k, v);
}

bool operator==(const Dictionary& a, const Dictionary& b) { return a.map_ == b.map_; }

}  // namespace trc::core
