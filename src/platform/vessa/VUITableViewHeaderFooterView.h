#pragma once
// The UI framework's section header and footer: a title label (the text
// label) over a background view. Main thread only.

#include <memory>
#include <string>

#include "platform/ui/UITableViewHeaderFooterView.h"

namespace trc::vessa {

class VUITableViewHeaderFooterView : public ui::UITableViewHeaderFooterView {
    TRC_OBJECT(VUITableViewHeaderFooterView)
public:
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUITableViewHeaderFooterView";
        return identifier;
    }
    std::shared_ptr<ui::UILabel> titleLabel() const { return textLabel(); }
};

}  // namespace trc::vessa
