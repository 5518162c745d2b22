#include "services/ObjectCell.h"

#include "platform/vessa/VUIObjectTableViewCell.h"

namespace trc::services {

namespace {

std::optional<std::string> text(const core::Dictionary& params, const char* key) {
    const core::Value* v = params.find(key);
    if (!v || v->isNothing()) return std::nullopt;
    if (const std::string* s = v->ifString()) return *s;
    return v->description();
}

}  // namespace

void ObjectCell::configureObjectCell(const std::shared_ptr<vessa::VUIObjectTableViewCell>& cell,
                                     const core::Dictionary& params, const core::Dictionary& /*sectionParams*/) {
    if (!cell) return;
    cell->setObjectParams(params);
    cell->setHeadlineText(text(params, kTitle));
    cell->subheadlineText = text(params, kSubhead);
    cell->footnoteText = text(params, kFootnote);
    cell->descriptionText = text(params, kDescription);
    cell->statusText = text(params, kStatusText);
    cell->substatusText = text(params, kSubstatusText);
}

}  // namespace trc::services
