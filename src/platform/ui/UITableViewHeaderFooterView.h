#pragma once
// A section header or footer view that a table can reuse: a content view,
// a text label and a background view, registered and dequeued by reuse
// identifier like cells. Main thread only.

#include <memory>
#include <string>

#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

namespace trc::ui {

class UITableViewHeaderFooterView : public UIView {
    TRC_OBJECT(UITableViewHeaderFooterView)
public:
    UITableViewHeaderFooterView();

    static const std::string& reuseIdentifier() {
        static const std::string identifier = "UITableViewHeaderFooterView";
        return identifier;
    }
    const std::string& viewReuseIdentifier() const { return reuseIdentifier_; }

    std::shared_ptr<UIView> contentView() const { return contentView_; }
    std::shared_ptr<UILabel> textLabel() const { return textLabel_; }
    std::shared_ptr<UIView> backgroundView() const { return backgroundView_; }

    virtual void prepareForReuse() {}

private:
    friend class UITableView;

    std::string reuseIdentifier_;
    std::shared_ptr<UIView> backgroundView_;
    std::shared_ptr<UIView> contentView_;
    std::shared_ptr<UILabel> textLabel_;
};

}  // namespace trc::ui
