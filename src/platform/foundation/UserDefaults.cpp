#include "platform/foundation/UserDefaults.h"

#include <system_error>

#include "platform/core/Logging.h"
#include "platform/core/ProcessState.h"
#include "platform/core/TaggedJson.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Sandbox.h"

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {
constexpr const char* kLogger = "UserDefaults";

bool holdsObject(const core::Value& v) {
    if (v.isObject()) return true;
    if (const core::Array* a = v.ifArray()) {
        for (const auto& e : *a) {
            if (holdsObject(e)) return true;
        }
    }
    if (const core::Dictionary* d = v.ifDictionary()) {
        for (const auto& [k, e] : *d) {
            if (holdsObject(e)) return true;
        }
    }
    return false;
}
}  // namespace

UserDefaults& UserDefaults::shared() {
    static UserDefaults* instance = [] {
        auto* d = new UserDefaults();
        core::ProcessState::registerReset("foundation.UserDefaults", [d] { d->reload(); });
        return d;
    }();
    return *instance;
}

UserDefaults::UserDefaults() = default;

fs::path UserDefaults::filePath() const { return Sandbox::preferences() / kFileName; }

void UserDefaults::reload() {
    std::lock_guard<std::mutex> lock(mutex_);
    loaded_ = false;
    values_ = {};
}

void UserDefaults::loadIfNeeded() {
    const fs::path path = filePath();
    if (loaded_ && path == loadedFrom_) return;
    loaded_ = true;
    loadedFrom_ = path;
    values_ = {};
    std::error_code ec;
    if (!fs::exists(path, ec)) return;
    std::string text;
    try {
        text = AtomicFile::read(path);
        core::Value v = core::TaggedJson::read(text);
        if (const core::Dictionary* d = v.ifDictionary()) {
            values_ = *d;
            return;
        }
        throw core::JsonError("the top level is not a dictionary");
    } catch (const std::exception& e) {
        fs::path aside = path;
        aside += ".corrupt";
        fs::rename(path, aside, ec);
        core::Logging::log(kLogger, "error",
                           "cannot read " + path.string() + " (" + e.what() + "); moved aside to " + aside.string() +
                               ", starting empty");
    }
}

bool UserDefaults::persist() {
    try {
        AtomicFile::write(loadedFrom_, core::Json::write(core::Value(values_), core::Json::Style::Tagged));
        return true;
    } catch (const std::exception& e) {
        core::Logging::log(kLogger, "error", std::string("cannot write the user defaults: ") + e.what());
        return false;
    }
}

core::Value UserDefaults::objectForKey(std::string_view key) {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeeded();
    return values_.get(key);
}

bool UserDefaults::setObject(const std::string& key, const core::Value& value) {
    if (value.isNil()) {
        remove(key);
        return true;
    }
    if (holdsObject(value)) {
        core::Logging::log(kLogger, "error", "refused to store an object under \"" + key + "\"");
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeeded();
    values_.set(key, value);
    persist();
    return true;
}

void UserDefaults::remove(std::string_view key) {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeeded();
    if (values_.erase(key)) persist();
}

bool UserDefaults::boolForKey(std::string_view key) {
    core::Value v = objectForKey(key);
    const bool* b = v.ifBool();
    return b && *b;
}

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) {
    core::Value v = objectForKey(key);
    if (const std::string* s = v.ifString()) return *s;
    return std::nullopt;
}

std::optional<core::Dictionary> UserDefaults::dictionaryForKey(std::string_view key) {
    core::Value v = objectForKey(key);
    if (const core::Dictionary* d = v.ifDictionary()) return *d;
    return std::nullopt;
}

std::int64_t UserDefaults::integerForKey(std::string_view key) { return objectForKey(key).asInteger().value_or(0); }

core::Dictionary UserDefaults::dictionaryRepresentation() {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeeded();
    return values_;
}

}  // namespace trc::foundation
