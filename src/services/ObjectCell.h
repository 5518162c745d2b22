#pragma once
// Fills an object table cell from a row's object-cell properties: the
// texts "Title", "Subhead", "Footnote", "Description", "StatusText" and
// "SubstatusText". Every text is set, an absent one to none, so a reused
// cell never shows its earlier row's texts. A value that is not a string
// shows as its text (a number as its digits); the null object counts as
// absent. Images and the other object-cell keys are not shown.
//
// Static and stateless; main thread, like the cells it fills.

#include <memory>

#include "platform/core/Dictionary.h"

namespace trc::vessa {
class VUIObjectTableViewCell;
}  // namespace trc::vessa

namespace trc::services {

class ObjectCell {
public:
    static constexpr const char* kTitle = "Title";
    static constexpr const char* kSubhead = "Subhead";
    static constexpr const char* kFootnote = "Footnote";
    static constexpr const char* kDescription = "Description";
    static constexpr const char* kStatusText = "StatusText";
    static constexpr const char* kSubstatusText = "SubstatusText";

    // sectionParams are the settings of the section showing the row; no
    // text is read from them (list pickers pass an empty dictionary).
    static void configureObjectCell(const std::shared_ptr<vessa::VUIObjectTableViewCell>& cell,
                                    const core::Dictionary& params, const core::Dictionary& sectionParams);
};

}  // namespace trc::services
