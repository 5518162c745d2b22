#pragma once
// A row showing one business object (title, subhead, footnote, status...).
// Nothing is drawn: the cell keeps the property dictionary it was last
// configured with and shows its "Title" in the text label. Main thread only.

#include <string>

#include "platform/core/Dictionary.h"
#include "platform/vessa/VUIBaseTableViewCell.h"

namespace trc::vessa {

class VUIObjectTableViewCell : public VUIBaseTableViewCell {
    TRC_OBJECT(VUIObjectTableViewCell)
public:
    static std::string reuseIdentifier() { return "VUIObjectTableViewCell"; }

    const core::Dictionary& objectParams() const { return objectParams_; }
    void setObjectParams(core::Dictionary params);

private:
    core::Dictionary objectParams_;
};

}  // namespace trc::vessa
