#pragma once
// What a Search hands its target when the debounce timer fires: the timer's
// user info ({"searchString": text}) wrapped as an object, so it travels as
// the one argument of the target's selector (a "sender"), and a target reads
// it with valueForKey("userInfo") or userInfo(). Made per firing; owned by
// whoever keeps it (usually nobody after the call). Main thread only.

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"

namespace trc::services {

class SearchTimer : public core::Object {
    TRC_OBJECT(SearchTimer)
public:
    SearchTimer() = default;
    explicit SearchTimer(core::Value userInfo) : userInfo_(std::move(userInfo)) {}

    const core::Value& userInfo() const { return userInfo_; }

private:
    core::Value userInfo_;
};

}  // namespace trc::services
