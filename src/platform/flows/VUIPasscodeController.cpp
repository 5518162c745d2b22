#include "platform/flows/VUIPasscodeController.h"

#include <sodium.h>

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/ui/UIValues.h"

namespace trc::flows {

namespace {

std::map<std::string, std::string>& texts() {
    static std::map<std::string, std::string>& t = []() -> std::map<std::string, std::string>& {
        static std::map<std::string, std::string> s = VUIPasscodeController::defaultTexts();
        core::ProcessState::registerReset("flows.VUIPasscodeController.texts",
                                          [] { s = VUIPasscodeController::defaultTexts(); });
        return s;
    }();
    return t;
}

const char* stageName(VUIPasscodeController::Stage s) {
    switch (s) {
    case VUIPasscodeController::Stage::choose: return "choose";
    case VUIPasscodeController::Stage::confirm: return "confirm";
    case VUIPasscodeController::Stage::enter: return "enter";
    }
    return "";
}

void wipe(std::string& s) {
    if (!s.empty()) sodium_memzero(s.data(), s.size());
    s.clear();
}

}  // namespace

const core::ClassInfo& VUIPasscodeController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIPasscodeController>("VUIPasscodeController", ui::UIViewController::classInfo())
            .constructible()
            .property("mode",
                      [](const VUIPasscodeController& c) {
                          return core::Value(c.mode_ == Mode::create ? "create" : "enter");
                      })
            .property("stage", [](const VUIPasscodeController& c) { return core::Value(stageName(c.stage_)); })
            .property("titleLabel", [](const VUIPasscodeController& c) { return core::Value(c.titleLabel_); })
            .property("messageLabel", [](const VUIPasscodeController& c) { return core::Value(c.messageLabel_); })
            .property("message", [](const VUIPasscodeController& c) { return ui::textOrNil(c.messageLabel_->text); })
            .property("cancelButton", [](const VUIPasscodeController& c) { return core::Value(c.cancelButton_); })
            .property("resetPasscodeButton", [](const VUIPasscodeController& c) { return core::Value(c.resetButton_); })
            .build();
    return info;
}

const std::map<std::string, std::string>& VUIPasscodeController::defaultTexts() {
    static const std::map<std::string, std::string> defaults = {
        {"attemptsLeftMessageFormat", "Incorrect passcode. %d attempts left."},
        {"authenticateWithFaceIDMessageString", "Authenticate with Face ID"},
        {"authenticateWithTouchIDMessageString", "Authenticate with Touch ID"},
        {"changePasscodeTitleString", "Change Passcode"},
        {"choosePasscodeTitleString", "Create Passcode"},
        {"confirmPasscodeString", "Confirm"},
        {"confirmPasscodeTitleString", "Confirm Passcode"},
        {"digitsLabelString", "Digits"},
        {"enableButtonString", "Enable"},
        {"enterCredentialsMessageString", "Please start the onboarding process again!"},
        {"enterPasscodeAgainString", "Enter the passcode again"},
        {"enterYourCurrentPasscodeMessageString", "Enter your current passcode"},
        {"enterYourPasscodeMessageString", "Enter your passcode"},
        {"faceIDEnableMessage1String", "Use Face ID to unlock"},
        {"faceIDEnableMessage2String", "You can change this later in settings"},
        {"faceIDMessage1String", "Face ID"},
        {"faceIDMessage2String", "Unlock with Face ID"},
        {"faceIDTitleString", "Face ID"},
        {"includeRequiredGroupMessage", "Include the required characters"},
        {"learnMoreFaceIDLinkString", "Learn more"},
        {"learnMoreTouchIDLinkString", "Learn more"},
        {"lowerCaseLabelString", "Lower case"},
        {"maxAttemptsReachedMessageString", "No more attempts left"},
        {"nextItemString", "Next"},
        {"nonAlphabeticLabelString", "Non-alphabetic"},
        {"notNowActionString", "Not Now"},
        {"notNowButtonString", "Not Now"},
        {"okButtonString", "OK"},
        {"oneAttempLeftMessageFormat", "Incorrect passcode. 1 attempt left."},
        {"passcodeNotMatchMessageString", "The passcodes do not match. Try again."},
        {"passcodeRejectedMessageString", "This passcode does not meet the requirements."},
        {"passcodeTitleString", "Passcode"},
        {"passcodeValidationFailedMessageString", "The passcode could not be checked."},
        {"resetPasscodeButtonString", "Reset Passcode"},
        {"retryButtonString", "Retry"},
        {"retryPasscodeMessageString", "Try again"},
        {"setPasscodeMessageFormat", "Choose a passcode of at least %d characters."},
        {"settingsActionString", "Settings"},
        {"touchIDEnableMessage1String", "Use Touch ID to unlock"},
        {"touchIDEnableMessage2String", "You can change this later in settings"},
        {"touchIDMessage1String", "Touch ID"},
        {"touchIDMessage2String", "Unlock with Touch ID"},
        {"touchIDTitleString", "Touch ID"},
        {"upperCaseLabelString", "Upper case"},
        {"useFaceIDMessageString", "Use Face ID"},
        {"useTouchIDMessageString", "Use Touch ID"},
    };
    return defaults;
}

std::string VUIPasscodeController::text(const std::string& name) {
    auto it = texts().find(name);
    return it == texts().end() ? std::string() : it->second;
}

bool VUIPasscodeController::setText(const std::string& name, std::string value) {
    auto it = texts().find(name);
    if (it == texts().end()) return false;
    it->second = std::move(value);
    return true;
}

std::string VUIPasscodeController::formatted(const std::string& format, int number) {
    std::string out;
    const std::string n = std::to_string(number);
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%d") == 0) {
            out += n;
            ++i;
        } else if (format.compare(i, 2, "%%") == 0) {
            out += '%';
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

VUIPasscodeController::VUIPasscodeController() {
    cancelButton_->setTitle("Cancel");
    resetButton_->setTitle(text("resetPasscodeButtonString"));
}

std::shared_ptr<VUIPasscodeController> VUIPasscodeController::make(Mode mode, VUIPasscodePolicy policy,
                                                                   bool showsCancelButton) {
    auto c = std::make_shared<VUIPasscodeController>();
    c->mode_ = mode;
    c->policy_ = policy;
    c->cancelButton_->setHidden(!showsCancelButton);
    c->resetButton_->setHidden(mode == Mode::create);
    c->setStage(mode == Mode::create ? Stage::choose : Stage::enter);
    return c;
}

void VUIPasscodeController::setStage(Stage stage, std::optional<std::string> message) {
    stage_ = stage;
    switch (stage) {
    case Stage::choose:
        titleLabel_->text = text("choosePasscodeTitleString");
        messageLabel_->text = message ? *message : formatted(text("setPasscodeMessageFormat"), policy_.minLength);
        break;
    case Stage::confirm:
        titleLabel_->text = text("confirmPasscodeTitleString");
        messageLabel_->text = message ? *message : text("enterPasscodeAgainString");
        break;
    case Stage::enter:
        titleLabel_->text = text("passcodeTitleString");
        messageLabel_->text = message ? *message : text("enterYourPasscodeMessageString");
        break;
    }
}

bool VUIPasscodeController::enterPasscode(const std::string& passcode) {
    if (busy_) return false;
    switch (stage_) {
    case Stage::choose:
        if (!policy_.accepts(passcode)) {
            setStage(Stage::choose, text("passcodeRejectedMessageString"));
            return true;
        }
        chosen_ = passcode;
        setStage(Stage::confirm);
        return true;
    case Stage::confirm: {
        bool same =
            passcode.size() == chosen_.size() && sodium_memcmp(passcode.data(), chosen_.data(), chosen_.size()) == 0;
        std::string confirmed = chosen_;
        wipe(chosen_);
        if (!same) {
            wipe(confirmed);
            setStage(Stage::choose, text("passcodeNotMatchMessageString"));
            return true;
        }
        if (onPasscode) onPasscode(confirmed);
        wipe(confirmed);
        return true;
    }
    case Stage::enter:
        if (onPasscode) onPasscode(passcode);
        return true;
    }
    return false;
}

bool VUIPasscodeController::cancel() {
    if (busy_ || cancelButton_->isHidden() || !cancelButton_->isEnabled()) return false;
    wipe(chosen_);
    if (onCancel) onCancel();
    return true;
}

bool VUIPasscodeController::resetPasscode() {
    if (busy_ || resetButton_->isHidden()) return false;
    if (onResetPasscode) onResetPasscode();
    return true;
}

void VUIPasscodeController::showWrongPasscode(int attemptsLeft) {
    std::string message = attemptsLeft == 1  ? text("oneAttempLeftMessageFormat")
                          : attemptsLeft > 1 ? formatted(text("attemptsLeftMessageFormat"), attemptsLeft)
                                             : text("retryPasscodeMessageString");
    setStage(Stage::enter, message);
}

}  // namespace trc::flows
