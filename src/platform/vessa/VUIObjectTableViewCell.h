#pragma once
// A row showing one business object: a headline with a subheadline,
// footnote and description below it, and status texts at the trailing
// edge. Nothing is drawn: the cell keeps its texts (the headline also shows
// in the text label) and the property dictionary it was last configured
// with. A configurer sets every text, so a reused cell shows none of its
// earlier row's. Main thread only.

#include <optional>
#include <string>

#include "platform/core/Dictionary.h"
#include "platform/vessa/VUIBaseTableViewCell.h"

namespace trc::vessa {

class VUIObjectTableViewCell : public VUIBaseTableViewCell {
    TRC_OBJECT(VUIObjectTableViewCell)
public:
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUIObjectTableViewCell";
        return identifier;
    }

    const core::Dictionary& objectParams() const { return objectParams_; }
    void setObjectParams(core::Dictionary params);

    const std::optional<std::string>& headlineText() const { return headlineText_; }
    void setHeadlineText(std::optional<std::string> text);
    std::optional<std::string> subheadlineText;
    std::optional<std::string> footnoteText;
    std::optional<std::string> descriptionText;
    std::optional<std::string> statusText;
    std::optional<std::string> substatusText;

private:
    core::Dictionary objectParams_;
    std::optional<std::string> headlineText_;
};

}  // namespace trc::vessa
