#pragma once
// The device's camera as far as permission goes: whether the application may
// capture video, and the request that asks the person. There is no camera
// behind it; tests and the host simulator set the state (stand-in entries
// below) and answer the request as the person would.
//
// A request made while the person has not decided waits until
// answerAccessRequests(); one made after the decision is answered at once.
// Answers arrive on a global-queue thread, as the platform gives them on a
// queue of its own: a caller that touches UI state hops to the main queue.
// The state is the process's; ProcessState resets it to a camera nobody has
// decided on. State calls on the main thread only.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Object.h"

namespace trc::ui {

enum class AVMediaType { Video };
enum class AVAuthorizationStatus { NotDetermined, Restricted, Denied, Authorized };

class AVCaptureDevice : public core::Object {
    TRC_OBJECT(AVCaptureDevice)
public:
    using AccessHandler = std::function<void(bool granted)>;

    static AVAuthorizationStatus authorizationStatus(AVMediaType mediaType);
    static void requestAccess(AVMediaType mediaType, AccessHandler completionHandler);

    // "notDetermined", "restricted", "denied", "authorized".
    static const char* statusName(AVAuthorizationStatus status);
    static std::optional<AVAuthorizationStatus> statusNamed(std::string_view name);

    // Stand-in entries. Setting a decided status answers nothing that waits;
    // only the person's answer does.
    static void setAuthorizationStatus(AVMediaType mediaType, AVAuthorizationStatus status);
    static std::size_t pendingAccessRequests();
    // The person answers the prompt: the status becomes authorized or denied
    // and every waiting request hears the answer. False when none waits.
    static bool answerAccessRequests(bool granted);

private:
    AVCaptureDevice() = default;
};

}  // namespace trc::ui
