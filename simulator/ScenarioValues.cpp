#include "simulator/ScenarioValues.h"

#include <regex>

#include "platform/core/Block.h"
#include "platform/core/Json.h"
#include "platform/core/TaggedJson.h"

namespace trc::simulator {

namespace {
constexpr std::string_view kResolve = "$resolve";
constexpr std::string_view kReject = "$reject";
constexpr std::string_view kMatch = "$match";
constexpr std::string_view kAny = "$any";
constexpr std::string_view kAbsent = "$absent";
constexpr std::string_view kObject = "$object";

// The one key of a one-key dictionary whose key starts with "$".
std::optional<std::string_view> tagOf(const core::Value& v) {
    const core::Dictionary* d = v.ifDictionary();
    if (!d || d->size() != 1 || !d->begin()->first.starts_with('$')) return std::nullopt;
    return std::string_view(d->begin()->first);
}

const core::Value& tagContent(const core::Value& v) { return v.ifDictionary()->begin()->second; }

std::string at(const std::string& path) { return path.empty() ? "" : " at " + path; }

std::string join(const std::string& path, std::string_view segment) {
    return path.empty() ? std::string(segment) : path + "." + std::string(segment);
}

bool fail(std::string& why, std::string message) {
    why = std::move(message);
    return false;
}
}  // namespace

ScenarioValues::ScenarioValues(std::shared_ptr<Transcript> transcript) : transcript_(std::move(transcript)) {}

void ScenarioValues::addHostObject(const std::string& name, const core::Value& spec) {
    const core::Dictionary* d = spec.ifDictionary();
    if (!d) throw ScenarioError("object \"" + name + "\" must be a dictionary with \"answers\"");
    std::set<std::string, std::less<>> answers;
    if (const core::Value* list = d->find("answers")) {
        const core::Array* a = list->ifArray();
        if (!a) throw ScenarioError("\"answers\" of object \"" + name + "\" must be a list of selector names");
        for (const core::Value& s : *a) {
            if (!s.isString()) throw ScenarioError("\"answers\" of object \"" + name + "\" must hold only texts");
            answers.insert(*s.ifString());
        }
    }
    core::Dictionary returns;
    if (const core::Value* r = d->find("returns")) {
        if (!r->isDictionary()) throw ScenarioError("\"returns\" of object \"" + name + "\" must be a dictionary");
        returns = *r->ifDictionary();
    }
    for (const auto& [key, v] : *d) {
        if (key != "answers" && key != "returns") {
            throw ScenarioError("object \"" + name + "\" has an unknown member \"" + key + "\"");
        }
    }
    std::weak_ptr<ScenarioValues> self = weak_from_this();
    hostObjects_[name] = std::make_shared<HostObject>(name, std::move(answers), std::move(returns), transcript_,
                                                      [self](const core::Value& raw) {
                                                          auto values = self.lock();
                                                          return values ? values->resolve(raw) : core::Value();
                                                      });
}

void ScenarioValues::addServer(const std::string& name, const std::string& baseUrl) { servers_[name] = baseUrl; }

void ScenarioValues::store(const std::string& name, core::Value value) {
    if (name.empty() || name.starts_with('$')) {
        throw ScenarioError("\"as\" takes a bare name (without \"$\"), got \"" + name + "\"");
    }
    if (hostObjects_.contains(name)) throw ScenarioError("\"" + name + "\" already names a host object");
    stored_[name] = std::move(value);
}

void ScenarioValues::dropStored() { stored_.clear(); }

core::Value ScenarioValues::named(std::string_view name) const {
    if (auto it = stored_.find(name); it != stored_.end()) return it->second;
    if (auto it = hostObjects_.find(name); it != hostObjects_.end()) return core::Value(it->second);
    throw ScenarioError("nothing is named \"$" + std::string(name) + "\"");
}

std::string ScenarioValues::substitute(std::string_view text) const {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t open = text.find("{{", pos);
        std::size_t close = open == std::string_view::npos ? open : text.find("}}", open + 2);
        if (close == std::string_view::npos) break;
        auto server = servers_.find(text.substr(open + 2, close - open - 2));
        out.append(text.substr(pos, open - pos));
        if (server != servers_.end()) {
            out += server->second;
        } else {
            out.append(text.substr(open, close + 2 - open));
        }
        pos = close + 2;
    }
    out.append(text.substr(std::min(pos, text.size())));
    return out;
}

core::Value ScenarioValues::makeBlock(bool resolving) const {
    std::weak_ptr<Transcript> transcript = transcript_;
    const int step = transcript_->step();
    return core::Value(core::Block::make([transcript, step, resolving](const std::vector<core::Value>& args) {
        auto t = transcript.lock();
        if (!t) return core::Value();
        auto arg = [&](std::size_t i) { return i < args.size() ? args[i] : core::Value(); };
        if (resolving) {
            t->resolve(arg(0), step);
        } else {
            t->reject(arg(0), arg(1), arg(2), step);
        }
        return core::Value();
    }));
}

core::Value ScenarioValues::resolve(const core::Value& raw) const {
    if (const std::string* s = raw.ifString()) {
        if (s->starts_with("$$")) return core::Value(substitute(std::string_view(*s).substr(1)));
        if (*s == kResolve) return makeBlock(true);
        if (*s == kReject) return makeBlock(false);
        if (s->size() > 1 && s->front() == '$') return named(std::string_view(*s).substr(1));
        return core::Value(substitute(*s));
    }
    if (const core::Array* a = raw.ifArray()) {
        core::Array out;
        out.reserve(a->size());
        for (const core::Value& e : *a) out.push_back(resolve(e));
        return core::Value(std::move(out));
    }
    if (const core::Dictionary* d = raw.ifDictionary()) {
        if (auto tag = tagOf(raw)) {
            if (*tag == kMatch || *tag == kAny || *tag == kAbsent || *tag == kObject) {
                throw ScenarioError("{\"" + std::string(*tag) + "\": ...} stands only in expect lines and equals");
            }
            try {
                if (auto tagged = core::TaggedJson::fromTag(*d)) return *tagged;
            } catch (const core::JsonError& e) {
                throw ScenarioError(e.what());
            }
        }
        core::Dictionary out;
        for (const auto& [k, e] : *d) out.set(substitute(k), resolve(e));
        return core::Value(std::move(out));
    }
    return raw;
}

std::string ScenarioValues::describe(const core::Value& value) { return Transcript::format(value); }

std::string ScenarioValues::describe(const std::optional<core::Value>& value) {
    return value ? describe(*value) : std::string("nothing (absent)");
}

bool ScenarioValues::matches(const core::Value& expected, const std::optional<core::Value>& actual,
                             std::string& why) const {
    return matchAt(expected, actual, "", why);
}

bool ScenarioValues::matchAt(const core::Value& expected, const std::optional<core::Value>& actual,
                             const std::string& path, std::string& why) const {
    auto differ = [&] { return fail(why, "expected " + describe(expected) + at(path) + ", got " + describe(actual)); };
    if (auto tag = tagOf(expected)) {
        const core::Value& content = tagContent(expected);
        if (*tag == kAbsent) {
            if (content != core::Value(true)) throw ScenarioError("{\"$absent\": ...} takes only true");
            return !actual ? true : differ();
        }
        if (*tag == kAny) {
            if (content != core::Value(true)) throw ScenarioError("{\"$any\": ...} takes only true");
            return actual ? true : differ();
        }
        if (*tag == kMatch) {
            const std::string* pattern = content.ifString();
            if (!pattern) throw ScenarioError("{\"$match\": ...} takes a regular expression text");
            std::regex re;
            try {
                re = std::regex(*pattern, std::regex::ECMAScript);
            } catch (const std::regex_error& e) {
                throw ScenarioError("{\"$match\": " + describe(content) + "} is not a regular expression: " + e.what());
            }
            const std::string* s = actual ? actual->ifString() : nullptr;
            return s && std::regex_match(*s, re) ? true : differ();
        }
        if (*tag == kObject) {
            const std::string* cls = content.ifString();
            if (!cls) throw ScenarioError("{\"$object\": ...} takes a class name");
            auto object = actual ? actual->ifObject() : nullptr;
            return object && object->className() == *cls ? true : differ();
        }
    }
    if (!actual) return differ();
    if (expected.isString() || (expected.isDictionary() && tagOf(expected))) {
        core::Value want = resolve(expected);
        return want == *actual ? true : differ();
    }
    if (const core::Array* e = expected.ifArray()) {
        const core::Array* a = actual->ifArray();
        if (!a || a->size() != e->size()) return differ();
        for (std::size_t i = 0; i < e->size(); ++i) {
            if (!matchAt((*e)[i], (*a)[i], join(path, std::to_string(i)), why)) return false;
        }
        return true;
    }
    if (const core::Dictionary* e = expected.ifDictionary()) {
        const core::Dictionary* a = actual->ifDictionary();
        if (!a) return differ();
        for (const auto& [key, want] : *e) {
            const std::string k = substitute(key);
            const core::Value* got = a->find(k);
            if (!matchAt(want, got ? std::optional<core::Value>(*got) : std::nullopt, join(path, k), why)) return false;
        }
        for (const auto& [key, got] : *a) {
            bool expectedKey = false;
            for (const auto& [k, want] : *e) expectedKey = expectedKey || substitute(k) == key;
            if (!expectedKey) {
                return fail(why, "unexpected " + core::Json::write(core::Value(key)) + " = " + describe(got) +
                                     at(path) + " (expected " + describe(expected) + ")");
            }
        }
        return true;
    }
    return expected == *actual ? true : differ();
}

}  // namespace trc::simulator
