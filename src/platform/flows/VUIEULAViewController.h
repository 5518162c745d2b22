#pragma once
// The agreement screen: title, text, an agree (confirm) button, a disagree
// (reject) button and a cancel button. The person's entries are accept(),
// reject() and cancel(); each works only while its button is shown and
// enabled. The owner hears of them through the handlers (bind weakly).
// Main thread.

#include <functional>
#include <memory>

#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIViewController.h"

namespace trc::flows {

class VUIEULAViewController : public ui::UIViewController {
    TRC_OBJECT(VUIEULAViewController)
public:
    VUIEULAViewController();

    const std::shared_ptr<ui::UILabel> titleLabel = std::make_shared<ui::UILabel>();
    const std::shared_ptr<ui::UILabel> contentLabel = std::make_shared<ui::UILabel>();
    const std::shared_ptr<ui::UIButton> confirmButton = std::make_shared<ui::UIButton>();
    const std::shared_ptr<ui::UIButton> rejectButton = std::make_shared<ui::UIButton>();
    const std::shared_ptr<ui::UIButton> cancelButton = std::make_shared<ui::UIButton>();

    std::function<void()> onAccept;
    std::function<void()> onReject;
    std::function<void()> onCancel;

    bool accept();
    bool reject();
    bool cancel();
};

}  // namespace trc::flows
