#include "platform/ui/AVCaptureDevice.h"

#include <array>
#include <utility>
#include <vector>

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/dispatch/GlobalQueue.h"

namespace trc::ui {

namespace {

struct CameraState {
    AVAuthorizationStatus video = AVAuthorizationStatus::NotDetermined;
    std::vector<AVCaptureDevice::AccessHandler> waiting;
};

CameraState& state() {
    static CameraState s;
    static const bool registered = [] {
        core::ProcessState::registerReset("AVCaptureDevice", [] { state() = CameraState(); });
        return true;
    }();
    (void)registered;
    return s;
}

constexpr std::array<std::pair<AVAuthorizationStatus, const char*>, 4> kNames{{
    {AVAuthorizationStatus::NotDetermined, "notDetermined"},
    {AVAuthorizationStatus::Restricted, "restricted"},
    {AVAuthorizationStatus::Denied, "denied"},
    {AVAuthorizationStatus::Authorized, "authorized"},
}};

void answerElsewhere(AVCaptureDevice::AccessHandler handler, bool granted) {
    if (!handler) return;
    dispatch::GlobalQueue::shared().async([handler = std::move(handler), granted] { handler(granted); });
}

}  // namespace

const core::ClassInfo& AVCaptureDevice::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<AVCaptureDevice>("AVCaptureDevice", core::Object::classInfo())
            .classProperty("authorizationStatus",
                           [] { return core::Value(statusName(authorizationStatus(AVMediaType::Video))); })
            .classProperty("pendingAccessRequests",
                           [] { return core::Value(static_cast<std::int64_t>(pendingAccessRequests())); })
            .build();
    return info;
}

AVAuthorizationStatus AVCaptureDevice::authorizationStatus(AVMediaType /*mediaType*/) { return state().video; }

void AVCaptureDevice::requestAccess(AVMediaType /*mediaType*/, AccessHandler completionHandler) {
    CameraState& s = state();
    if (s.video == AVAuthorizationStatus::NotDetermined) {
        s.waiting.push_back(std::move(completionHandler));
        return;
    }
    answerElsewhere(std::move(completionHandler), s.video == AVAuthorizationStatus::Authorized);
}

const char* AVCaptureDevice::statusName(AVAuthorizationStatus status) {
    for (const auto& [s, name] : kNames) {
        if (s == status) return name;
    }
    return "notDetermined";
}

std::optional<AVAuthorizationStatus> AVCaptureDevice::statusNamed(std::string_view name) {
    for (const auto& [s, n] : kNames) {
        if (name == n) return s;
    }
    return std::nullopt;
}

void AVCaptureDevice::setAuthorizationStatus(AVMediaType /*mediaType*/, AVAuthorizationStatus status) {
    state().video = status;
}

std::size_t AVCaptureDevice::pendingAccessRequests() { return state().waiting.size(); }

bool AVCaptureDevice::answerAccessRequests(bool granted) {
    CameraState& s = state();
    if (s.waiting.empty()) return false;
    s.video = granted ? AVAuthorizationStatus::Authorized : AVAuthorizationStatus::Denied;
    auto waiting = std::exchange(s.waiting, {});
    for (auto& handler : waiting) answerElsewhere(std::move(handler), granted);
    return true;
}

}  // namespace trc::ui
