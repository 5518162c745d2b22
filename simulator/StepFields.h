#pragma once
// What the simulator's screen handlers read from a user action or step: its
// fields, the row it names and that row's cell on screen. A field that is
// missing or of the wrong kind, or a row that is not there, throws
// ScenarioError naming it. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/core/Value.h"
#include "platform/ui/IndexPath.h"
#include "simulator/ScenarioExtensions.h"

namespace trc::ui {
class UITableView;
class UITableViewCell;
}  // namespace trc::ui

namespace trc::simulator {

// The field as written (not resolved).
const core::Value& valueIn(const core::Dictionary& step, const char* key);
int intIn(const core::Dictionary& step, const char* key);
// The field resolved, which must then be a text.
std::string textIn(ScenarioContext& ctx, const core::Dictionary& step, const char* key);
// "rowsOnScreen", when the step has it: not negative.
std::optional<int> rowsOnScreenIn(const core::Dictionary& step);
// "section" and "row".
ui::IndexPath rowIn(const core::Dictionary& step);

std::shared_ptr<ui::UITableView> tableOnScreenOrFail();
// The cell of the step's row, which must be on screen.
std::shared_ptr<ui::UITableViewCell> cellIn(const core::Dictionary& step);

// Runs the main queue until it is idle, so what a handler did has settled.
void settle();
// A person's entry the screen refuses is its answer, not a failure of the
// scenario: it is only logged.
void refusedUnless(bool accepted, const std::string& what);

}  // namespace trc::simulator
