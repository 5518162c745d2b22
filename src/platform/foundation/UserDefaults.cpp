#include "platform/foundation/UserDefaults.h"

#include <system_error>

#include "platform/core/IsoDate.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/core/TaggedJson.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Sandbox.h"

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {
constexpr const char* kLogger = "UserDefaults";

// What in v has no persisted form: an object, or a date whose text would
// not read back (the whole file would then be unreadable). Empty when none.
std::string unstorable(const core::Value& v) {
    if (v.isObject()) return "an object";
    if (const core::Date* d = v.ifDate(); d && !core::IsoDate::isRepresentable(*d))
        return "a date outside the years 0000 to 9999";
    if (const core::Array* a = v.ifArray()) {
        for (const auto& e : *a)
            if (std::string why = unstorable(e); !why.empty()) return why;
    }
    if (const core::Dictionary* d = v.ifDictionary()) {
        for (const auto& [k, e] : *d)
            if (std::string why = unstorable(e); !why.empty()) return why;
    }
    return {};
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
    values_ = {};
    loadedFrom_ = path;
    AtomicFile::removeLeftovers(path);
    std::error_code ec;
    std::optional<std::string> text = AtomicFile::read(path, ec);
    if (!ec && text) {
        try {
            core::Value v = core::TaggedJson::read(*text);
            const core::Dictionary* d = v.ifDictionary();
            if (!d) throw core::JsonError("the top level is not a dictionary");
            values_ = *d;
        } catch (const std::exception& e) {
            // Read but not valid: nothing in it can be used, so it goes aside
            // for a person to look at and the defaults start empty.
            fs::path aside = path;
            aside += ".corrupt";
            if (AtomicFile::rename(path, aside, ec)) {
                core::SharedLoggerManager::log(kLogger, core::Severity::error,
                                               "cannot read " + path.string() + " (" + e.what() + "); moved aside to " +
                                                   aside.string() + ", starting empty");
            } else if (ec != readError_) {
                core::SharedLoggerManager::log(kLogger, core::Severity::error,
                                               "cannot read " + path.string() + " (" + e.what() +
                                                   ") nor move it aside (" + ec.message() +
                                                   "); keeping it, and changing nothing");
                readError_ = ec;
            }
        }
    }
    if (ec) {
        // Cannot read now (no descriptor left, an I/O error): the file may
        // be whole. It stays as it is, nothing is written over it, and the
        // next use tries again.
        if (ec != readError_) {
            core::SharedLoggerManager::log(kLogger, core::Severity::error,
                                           "cannot read " + path.string() + " now (" + ec.message() +
                                               "); keeping it, and changing nothing until it can be read");
        }
        readError_ = ec;
        values_ = {};
        return;
    }
    readError_.clear();
    loaded_ = true;
}

bool UserDefaults::refusedWhileUnreadable(std::string_view key) {
    if (!readError_) return false;
    core::SharedLoggerManager::log(kLogger, core::Severity::error,
                                   "refused to change \"" + std::string(key) +
                                       "\": the user defaults cannot be read now (" + readError_.message() + ")");
    return true;
}

bool UserDefaults::persist() {
    std::error_code ec;
    if (AtomicFile::write(loadedFrom_, core::Json::write(core::Value(values_), core::Json::Style::Tagged),
                          AtomicFile::kOwnerOnly, ec))
        return true;
    core::SharedLoggerManager::log(kLogger, core::Severity::error, "cannot write the user defaults: " + ec.message());
    return false;
}

core::Value UserDefaults::objectForKey(std::string_view key) {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeeded();
    return values_.get(key);
}

bool UserDefaults::setObject(const std::string& key, const core::Value& value) {
    if (value.isNil()) return remove(key);
    if (std::string why = unstorable(value); !why.empty()) {
        core::SharedLoggerManager::log(kLogger, core::Severity::error,
                                       "refused to store " + why + " under \"" + key + "\"");
        return false;
    }
    return change(key, &value);
}

bool UserDefaults::remove(std::string_view key) { return change(key, nullptr); }

bool UserDefaults::change(std::string_view key, const core::Value* value) {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeeded();
    if (refusedWhileUnreadable(key)) return false;
    const core::Value* old = values_.find(key);
    if (!old && !value) return true;
    std::optional<core::Value> previous = old ? std::optional<core::Value>(*old) : std::nullopt;
    auto put = [&](const core::Value* v) {
        if (v)
            values_.set(std::string(key), *v);
        else
            values_.erase(key);
    };
    put(value);
    if (persist()) return true;
    // What is in memory stays what is on disk.
    put(previous ? &*previous : nullptr);
    return false;
}

std::error_code UserDefaults::readError() {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeeded();
    return readError_;
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
