#include "services/ToastMessageView.h"

#include <climits>
#include <cmath>
#include <vector>

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

namespace trc::services {

namespace {

// Toasts shown so far, oldest first; a toast leaves when its view goes.
std::vector<std::weak_ptr<ToastMessageView>>& shown() {
    static std::vector<std::weak_ptr<ToastMessageView>>& list = []() -> auto& {
        static std::vector<std::weak_ptr<ToastMessageView>> l;
        core::ProcessState::registerReset("services.ToastMessageView", [] { l.clear(); });
        return l;
    }
    ();
    return list;
}

void warn(const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, message);
}

double durationFrom(const core::Dictionary& params) {
    const core::Value* v = params.find(ToastMessageView::kDurationKey);
    if (!v) return ToastMessageView::kDefaultDuration;
    std::optional<double> d = v->asDouble();
    if (d && std::isfinite(*d) && *d > 0) return *d;
    warn(std::string("toast \"") + ToastMessageView::kDurationKey + "\" is not a positive number; the default is used");
    return ToastMessageView::kDefaultDuration;
}

int linesFrom(const core::Dictionary& params) {
    const core::Value* v = params.find(ToastMessageView::kMaxNumberOfLinesKey);
    if (!v) return ToastMessageView::kDefaultMaxNumberOfLines;
    std::optional<std::int64_t> n = v->asInteger();
    if (n && *n >= 0 && *n <= INT_MAX) return static_cast<int>(*n);
    warn(std::string("toast \"") + ToastMessageView::kMaxNumberOfLinesKey +
         "\" is not a line count; the default is used");
    return ToastMessageView::kDefaultMaxNumberOfLines;
}

std::shared_ptr<ui::UIView> placeFrom(const core::Dictionary& params) {
    if (const core::Value* v = params.find(ToastMessageView::kBackgroundKey)) {
        if (auto view = v->ifObjectOf<ui::UIView>()) return view;
    }
    return ui::UIApplication::shared()->keyWindow();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

}  // namespace

const core::ClassInfo& ToastMessageView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<ToastMessageView>("ToastMessageView", ui::UIView::classInfo())
            .property("message", [](const ToastMessageView& t) { return core::Value(t.message_); })
            .property("duration", [](const ToastMessageView& t) { return core::Value(t.duration_); })
            .property("maxNumberOfLines", [](const ToastMessageView& t) { return core::Value(t.maxNumberOfLines()); })
            .property("displayedText", [](const ToastMessageView& t) { return core::Value(t.displayedText()); })
            .property("messageLabel", [](const ToastMessageView& t) { return core::Value(t.messageLabel_); })
            .build();
    return info;
}

ToastMessageView::ToastMessageView(std::string message, double duration, int maxNumberOfLines)
    : message_(std::move(message)), duration_(duration) {
    messageLabel_->text = message_;
    messageLabel_->numberOfLines = maxNumberOfLines;
    addSubview(messageLabel_);
}

std::string ToastMessageView::displayedText() const {
    const int limit = maxNumberOfLines();
    std::vector<std::string> lines = linesOf(message_);
    if (limit == 0 || lines.size() <= static_cast<std::size_t>(limit)) return message_;
    std::string out;
    for (int i = 0; i < limit; ++i) {
        if (i > 0) out += '\n';
        out += lines[static_cast<std::size_t>(i)];
    }
    return out + kTruncationMark;
}

void ToastMessageView::displayToastMsg(const core::Dictionary& params) {
    const core::Value* message = params.find(kMessageKey);
    if (!message || !message->isString()) {
        warn(std::string("a toast needs a text under \"") + kMessageKey + "\"; nothing shown");
        return;
    }
    const double duration = durationFrom(params);
    const int lines = linesFrom(params);
    std::shared_ptr<ui::UIView> place = placeFrom(params);
    if (!place) {
        warn("no view and no key window to show a toast in; nothing shown");
        return;
    }
    auto toast = std::make_shared<ToastMessageView>(*message->ifString(), duration, lines);
    place->addSubview(toast);
    auto& list = shown();
    std::erase_if(list, [](const std::weak_ptr<ToastMessageView>& t) { return t.expired(); });
    list.push_back(toast);
    dispatch::MainQueue::shared().asyncAfter(duration, [weak = std::weak_ptr<ToastMessageView>(toast)] {
        if (auto t = weak.lock()) t->removeFromSuperview();
    });
}

std::shared_ptr<ToastMessageView> ToastMessageView::current() {
    const auto& list = shown();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        auto toast = it->lock();
        if (toast && toast->superview()) return toast;
    }
    return nullptr;
}

}  // namespace trc::services
