#pragma once
// The passcode screen. In create mode it asks for a new passcode twice
// (choose, then confirm) and checks it against the passcode policy; in enter
// mode it asks for the passcode once per try and its owner says whether it
// was right (showWrongPasscode tells the person how many tries are left).
// It may show a cancel button and, when entering, a reset-passcode button.
//
// The person's entries: enterPasscode(text), cancel(), resetPasscode(). The
// owner hears of them through the handlers, which it should bind weakly.
//
// The screen's texts are shared by all passcode screens and may be changed
// by name (setText), as the onboarding customization does; "%d" in a format
// is replaced by a number here, never by a printf of the text.
// Main thread. Never logs or keeps what was typed beyond the entry.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/flows/VUIPasscodePolicy.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIViewController.h"

namespace trc::flows {

class VUIPasscodeController : public ui::UIViewController {
    TRC_OBJECT(VUIPasscodeController)
public:
    enum class Mode { create, enter };
    enum class Stage { choose, confirm, enter };

    VUIPasscodeController();
    static std::shared_ptr<VUIPasscodeController> make(Mode mode, VUIPasscodePolicy policy, bool showsCancelButton);

    // The shared texts, by name; setText refuses names it does not know.
    static std::string text(const std::string& name);
    static bool setText(const std::string& name, std::string value);
    static const std::map<std::string, std::string>& defaultTexts();
    // format with every "%d" replaced by number and every "%%" by '%', as the
    // platform's string formats have them; any other '%' stays as it is.
    static std::string formatted(const std::string& format, int number);

    Mode mode() const { return mode_; }
    Stage stage() const { return stage_; }
    const VUIPasscodePolicy& policy() const { return policy_; }
    const std::shared_ptr<ui::UILabel>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<ui::UILabel>& messageLabel() const { return messageLabel_; }
    const std::shared_ptr<ui::UIButton>& cancelButton() const { return cancelButton_; }
    const std::shared_ptr<ui::UIButton>& resetPasscodeButton() const { return resetButton_; }

    // create: the confirmed passcode; enter: each try.
    std::function<void(const std::string&)> onPasscode;
    std::function<void()> onCancel;
    std::function<void()> onResetPasscode;

    // The person's entries; false when the screen does not take them now.
    bool enterPasscode(const std::string& passcode);
    bool cancel();
    bool resetPasscode();

    void showWrongPasscode(int attemptsLeft);
    // Blocks entries while the owner works on a try.
    void setBusy(bool busy) { busy_ = busy; }

private:
    void setStage(Stage stage, std::optional<std::string> message = std::nullopt);

    Mode mode_ = Mode::enter;
    Stage stage_ = Stage::enter;
    VUIPasscodePolicy policy_;
    std::string chosen_;
    bool busy_ = false;
    std::shared_ptr<ui::UILabel> titleLabel_ = std::make_shared<ui::UILabel>();
    std::shared_ptr<ui::UILabel> messageLabel_ = std::make_shared<ui::UILabel>();
    std::shared_ptr<ui::UIButton> cancelButton_ = std::make_shared<ui::UIButton>();
    std::shared_ptr<ui::UIButton> resetButton_ = std::make_shared<ui::UIButton>();
};

}  // namespace trc::flows
