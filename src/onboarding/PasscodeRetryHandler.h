#pragma once
// Part of the onboarding layer's declared surface, holding nothing and doing
// nothing: the passcode retry limit, the reset after it and its alert are
// handled by the store manager and the onboarding controller.

namespace trc::onboarding {

class PasscodeRetryHandler {};

}  // namespace trc::onboarding
