#pragma once
// A toast: a short message shown over a view or window for a few seconds,
// then gone by itself. Features show one with displayToastMsg and never
// hold it; the view it is shown in owns it until its time is up.
//
// Nothing is drawn: the toast is a view with a label, added to the view or
// window named under "background" (else the key window) and removed from it
// after "duration" seconds on the main queue's clock. The label keeps the
// whole message; displayedText() is what fits in "maxNumberOfLines" lines
// (lines are the message's own line breaks: nothing is measured here).
//
// Main thread only. Bad parameters never fail the caller: a message that is
// not text shows nothing, a duration or line count of the wrong kind falls
// back to its default, and each is logged.

#include <memory>
#include <string>

#include "platform/core/Dictionary.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

namespace trc::services {

class ToastMessageView : public ui::UIView {
    TRC_OBJECT(ToastMessageView)
public:
    static constexpr const char* kMessageKey = "message";
    static constexpr const char* kDurationKey = "duration";
    static constexpr const char* kMaxNumberOfLinesKey = "maxNumberOfLines";
    static constexpr const char* kBackgroundKey = "background";
    static constexpr double kDefaultDuration = 1.0;
    static constexpr int kDefaultMaxNumberOfLines = 1;
    // Ends the last line shown when the message has more lines than fit.
    static constexpr const char* kTruncationMark = "\u2026";

    // Shows a toast from {"message", "duration", "maxNumberOfLines", "background"}.
    static void displayToastMsg(const core::Dictionary& params);
    // The newest toast still on screen, if any.
    static std::shared_ptr<ToastMessageView> current();

    ToastMessageView(std::string message, double duration, int maxNumberOfLines);

    const std::string& message() const { return message_; }
    double duration() const { return duration_; }
    // 0 means as many lines as the message has.
    int maxNumberOfLines() const { return messageLabel_->numberOfLines; }
    const std::shared_ptr<ui::UILabel>& messageLabel() const { return messageLabel_; }
    std::string displayedText() const;

private:
    std::string message_;
    double duration_;
    std::shared_ptr<ui::UILabel> messageLabel_ = std::make_shared<ui::UILabel>();
};

}  // namespace trc::services
