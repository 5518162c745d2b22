#pragma once
// Layout figures the pages of the form cells share with the rest of the
// application's screens, kept in one place so that every page lines up the
// same way. Plain constants; any thread.

namespace trc::services {

struct Constants {
    // The gap, in points, between the top of a full-screen table page that is
    // not embedded and the top of its superview: room for the bar above it.
    static constexpr double TABLEVIEW_TOP_ANCHOR = 56.0;
};

}  // namespace trc::services
