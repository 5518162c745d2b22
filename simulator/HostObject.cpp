#include "simulator/HostObject.h"

#include <exception>

namespace trc::simulator {

const core::ClassInfo& HostObject::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<HostObject>("HostObject", core::Object::classInfo()).build();
    return info;
}

HostObject::HostObject(std::string name, std::set<std::string, std::less<>> answers, core::Dictionary returns,
                       std::weak_ptr<Transcript> transcript, Resolver resolver)
    : name_(std::move(name)),
      answers_(std::move(answers)),
      returns_(std::move(returns)),
      transcript_(std::move(transcript)),
      resolver_(std::move(resolver)) {}

bool HostObject::respondsToSelector(std::string_view selector) const { return answers_.contains(selector); }

core::Value HostObject::perform(std::string_view selector, core::Args args) {
    auto transcript = transcript_.lock();
    if (!transcript) return {};
    if (!answers_.contains(selector)) {
        transcript->fail("the library sent \"" + std::string(selector) + "\" to " + name_ +
                         ", which does not answer it");
        return {};
    }
    transcript->callback(name_, std::string(selector), core::Array(args.begin(), args.end()));
    const core::Value* raw = returns_.find(selector);
    if (!raw) return {};
    try {
        return resolver_ ? resolver_(*raw) : *raw;
    } catch (const std::exception& e) {
        transcript->fail("the value " + name_ + " returns for \"" + std::string(selector) + "\": " + e.what());
        return {};
    }
}

}  // namespace trc::simulator
