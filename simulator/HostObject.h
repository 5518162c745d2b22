#pragma once
// A callback object of a host scenario ("objects" in the scenario file). It
// answers exactly the bare selector names it lists; every send of one of them
// is written to the transcript as {"to": name, "selector": sel, "args": [...]}
// and returns the scenario's "returns" value for it (resolved when sent, so it
// may name objects stored later). A send of any other selector is a fault of
// the library, which must ask respondsToSelector first: it is recorded as a
// failure and answers nil.
//
// Owned by the scenario's values (ScenarioValues); it survives a relaunch.
// Holds the transcript and the resolver weakly: once the scenario is over a
// send records nothing.

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"
#include "simulator/Transcript.h"

namespace trc::simulator {

class HostObject : public core::Object {
    TRC_OBJECT(HostObject)
public:
    // Turns a raw scenario value into a host value; throws ScenarioError.
    using Resolver = std::function<core::Value(const core::Value& raw)>;

    HostObject(std::string name, std::set<std::string, std::less<>> answers, core::Dictionary returns,
               std::weak_ptr<Transcript> transcript, Resolver resolver);

    const std::string& name() const { return name_; }

    bool respondsToSelector(std::string_view selector) const override;
    core::Value perform(std::string_view selector, core::Args args) override;

private:
    std::string name_;
    std::set<std::string, std::less<>> answers_;
    core::Dictionary returns_;
    std::weak_ptr<Transcript> transcript_;
    Resolver resolver_;
};

}  // namespace trc::simulator
