#pragma once
// One button of an alert: an optional title, a style and the handler run
// after the person taps it and the alert has gone. The alert owns its
// actions; a handler that needs the alert or its owner captures them
// weakly, or the alert would keep itself alive. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/Object.h"

namespace trc::ui {

class UIAlertAction : public core::Object {
    TRC_OBJECT(UIAlertAction)
public:
    enum class Style { Default, Cancel, Destructive };
    using Handler = std::function<void(UIAlertAction& action)>;

    UIAlertAction() = default;
    UIAlertAction(std::optional<std::string> title, Style style, Handler handler)
        : title(std::move(title)), style(style), handler(std::move(handler)) {}
    static std::shared_ptr<UIAlertAction> make(std::optional<std::string> title, Style style = Style::Default,
                                               Handler handler = {});
    static const char* styleName(Style style);

    std::optional<std::string> title;
    Style style = Style::Default;
    Handler handler;
    bool isEnabled = true;
};

}  // namespace trc::ui
