#include "simulator/StepFields.h"

#include <limits>

#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "simulator/UiScreen.h"

namespace trc::simulator {

namespace {

constexpr const char* kSection = "section";
constexpr const char* kRow = "row";
constexpr const char* kRowsOnScreen = "rowsOnScreen";

}  // namespace

const core::Value& valueIn(const core::Dictionary& step, const char* key) {
    const core::Value* v = step.find(key);
    if (!v) throw ScenarioError(std::string("the step needs \"") + key + "\"");
    return *v;
}

int intIn(const core::Dictionary& step, const char* key) {
    const core::Value* v = step.find(key);
    const std::int64_t* i = v ? v->ifInteger() : nullptr;
    if (!i) throw ScenarioError(std::string("\"") + key + "\" must be an integer");
    // A row or count beyond 32 bits would wrap into another row.
    if (*i < std::numeric_limits<int>::min() || *i > std::numeric_limits<int>::max()) {
        throw ScenarioError(std::string("\"") + key + "\" is out of range");
    }
    return static_cast<int>(*i);
}

std::string textIn(ScenarioContext& ctx, const core::Dictionary& step, const char* key) {
    core::Value v = ctx.resolve(valueIn(step, key));
    if (!v.isString()) throw ScenarioError(std::string("\"") + key + "\" must be a text");
    return *v.ifString();
}

std::optional<int> rowsOnScreenIn(const core::Dictionary& step) {
    if (!step.find(kRowsOnScreen)) return std::nullopt;
    const int rows = intIn(step, kRowsOnScreen);
    if (rows < 0) throw ScenarioError("\"rowsOnScreen\" must not be negative");
    return rows;
}

ui::IndexPath rowIn(const core::Dictionary& step) { return {intIn(step, kSection), intIn(step, kRow)}; }

std::shared_ptr<ui::UITableView> tableOnScreenOrFail() {
    auto table = UiScreen::tableOnScreen();
    if (!table) throw ScenarioError("no table on screen");
    return table;
}

std::shared_ptr<ui::UITableViewCell> cellIn(const core::Dictionary& step) {
    const ui::IndexPath path = rowIn(step);
    auto cell = tableOnScreenOrFail()->cellForRow(path);
    if (!cell) throw ScenarioError("no cell at " + path.description() + " (off screen or no such row)");
    return cell;
}

void settle() { dispatch::MainQueue::shared().runUntilIdle(); }

void refusedUnless(bool accepted, const std::string& what) {
    if (!accepted) core::SharedLoggerManager::log("ui", core::Severity::info, "scenario: the screen refused " + what);
}

}  // namespace trc::simulator
