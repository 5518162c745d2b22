#pragma once
// An alert or action sheet: title, message and actions. Presented like any
// view controller (it leaves its presenter on screen).
//
// tapAction() is the person's tap: the alert is dismissed and, once it has
// gone (on the main queue), the action's handler runs. An alert takes one
// tap; later taps, taps on disabled actions and unknown titles are refused
// (false). Main thread only; owned by std::shared_ptr.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UIViewController.h"

namespace trc::ui {

class UIAlertController : public UIViewController {
    TRC_OBJECT(UIAlertController)
public:
    enum class Style { ActionSheet, Alert };

    UIAlertController();
    static std::shared_ptr<UIAlertController> make(std::optional<std::string> title, std::optional<std::string> message,
                                                   Style style = Style::Alert);

    std::optional<std::string> message;
    Style preferredStyle = Style::Alert;
    std::shared_ptr<UIAlertAction> preferredAction;

    void addAction(const std::shared_ptr<UIAlertAction>& action);
    const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return actions_; }
    // The titles in order (an untitled action as an empty text).
    std::vector<std::string> actionTitles() const;

    bool tapAction(std::size_t index);
    // The first action with that title.
    bool tapAction(const std::string& title);

private:
    std::vector<std::shared_ptr<UIAlertAction>> actions_;
    bool tapped_ = false;
};

}  // namespace trc::ui
