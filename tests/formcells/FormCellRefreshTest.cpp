#include "formcells/FormCellRefresh.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"

namespace trc::formcells {
namespace {

core::Dictionary withMessage(const std::string& message) {
    return core::Dictionary{
        {"validationProperties", core::Value(core::Dictionary{{"ValidationMessage", core::Value(message)}})}};
}

// What class a cell is, is worked out once per class: cells of every class,
// refreshed in turn and again, must each still get their own validation
// line, and a cell of no validating class none.
TEST(FormCellRefresh, RefreshesTheValidationOfEachCellClassWhateverClassCameBefore) {
    ui::UITableView table;
    auto note = std::make_shared<vessa::VUINoteFormCell>();
    auto toggle = std::make_shared<vessa::VUISwitchFormCell>();
    auto title = std::make_shared<vessa::VUITitleFormCell>();
    auto plain = std::make_shared<ui::UITableViewCell>();
    for (int round = 0; round < 3; ++round) {
        const std::string message = "Required " + std::to_string(round);
        FormCellRefresh::refreshValidation(table, plain, withMessage(message));
        FormCellRefresh::refreshValidation(table, title, withMessage(message + " title"));
        FormCellRefresh::refreshValidation(table, note, withMessage(message + " note"));
        FormCellRefresh::refreshValidation(table, toggle, withMessage(message + " switch"));
        FormCellRefresh::refreshValidation(table, nullptr, withMessage(message));
        EXPECT_EQ(note->validationMessage(), message + " note");
        EXPECT_EQ(toggle->validationMessage(), message + " switch");
        EXPECT_EQ(title->validationMessage(), message + " title");
    }
}

}  // namespace
}  // namespace trc::formcells
