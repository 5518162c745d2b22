#pragma once
// The process's one modal loading indicator: a spinner with a text and a
// smaller text below it, covering the view it is shown in so that nothing
// under it takes a touch while work goes on.
//
// show() moves the indicator wherever it is asked for: it first leaves the
// view it is in, takes the new texts and then goes, without animation, into
// the view given under "view" (else the application's key window), on top
// of that view's other subviews and as large as it. dismiss() takes it away.
// The indicator is made on first use and lives for the process; the view it
// is shown in holds it only as a subview. A ProcessState reset takes it off
// screen and drops it.
//
// Main thread only. Bad parameters never fail the caller: a text that is not
// a string counts as none, a "view" that is not a view falls back to the key
// window, each logged; with no place at all it is dismissed and logged.

#include <memory>
#include <optional>
#include <string>

#include "platform/core/Dictionary.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

namespace trc::services {

class ActivityIndicatorView : public ui::UIView {
    TRC_OBJECT(ActivityIndicatorView)
public:
    static constexpr const char* kTextKey = "text";
    static constexpr const char* kSubTextKey = "subText";
    static constexpr const char* kViewKey = "view";

    static void show(const core::Dictionary& params);
    static void dismiss();
    // The one indicator, made on first use.
    static std::shared_ptr<ActivityIndicatorView> shared();
    // Whether the indicator is in a view now.
    static bool isShown();

    ActivityIndicatorView();

    std::optional<std::string> text() const { return textLabel_->text; }
    std::optional<std::string> subText() const { return subTextLabel_->text; }
    const std::shared_ptr<ui::UILabel>& textLabel() const { return textLabel_; }
    const std::shared_ptr<ui::UILabel>& subTextLabel() const { return subTextLabel_; }
    // The spinner turns while the indicator is shown.
    bool isAnimating() const { return superview() != nullptr; }

private:
    void setTexts(std::optional<std::string> text, std::optional<std::string> subText);

    std::shared_ptr<ui::UILabel> textLabel_ = std::make_shared<ui::UILabel>();
    std::shared_ptr<ui::UILabel> subTextLabel_ = std::make_shared<ui::UILabel>();
};

}  // namespace trc::services
