#pragma once
// What a view or layout guide keeps of each constraint that names it as the
// second item: the constraint and the view that keeps it (its first item,
// usually). The keeper holds the constraint strongly and takes the entry
// back when it lets the constraint go or goes itself, so both pointers are
// valid while the entry exists. Lets a view that leaves its superview find
// the constraints reaching into its subtree without walking the whole tree.
// Main thread only.

#include <vector>

namespace trc::ui {

class NSLayoutConstraint;
class UIView;

struct ConstraintNaming {
    UIView* keeper;
    NSLayoutConstraint* constraint;
    friend bool operator==(const ConstraintNaming&, const ConstraintNaming&) = default;
};

using ConstraintNamings = std::vector<ConstraintNaming>;

}  // namespace trc::ui
