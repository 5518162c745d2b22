#include <gtest/gtest.h>

#include "formcells/FormCellFactory.h"
#include "formcells/FormCellSetters.h"
#include "formcells/FormCellSettersTestSupport.h"
#include "formcells/FormTestSupport.h"
#include "platform/ui/UITableView.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIButtonFormCell.h"

namespace trc::formcells {
namespace {

using testing::SetterTest;
using vessa::VUIButtonFormCell;
using vessa::VUIHorizontalAlignment;

class ButtonSetter : public SetterTest {
protected:
    void set(const std::string& json) { FormCellSetters::setButtonFormCellView(cell, params(json)); }

    std::shared_ptr<VUIButtonFormCell> cell = shown<VUIButtonFormCell>();
};

TEST_F(ButtonSetter, AlignmentTitleAndStylesApply) {
    set(R"({"TextAlignment": "center", "Title": "Save", "Styles": {"Background": "bg", "Value": "title"}})");
    EXPECT_EQ(cell->alignment, VUIHorizontalAlignment::Center);
    EXPECT_EQ(cell->button()->title(ui::UIControl::State::Normal), "Save");
    EXPECT_EQ(cell->button()->titleLabel()->text, "Save");
    EXPECT_EQ(cell->nuiClass, "bg");
    EXPECT_EQ(cell->button()->titleLabel()->nuiClass, "title");
}

TEST_F(ButtonSetter, OnlyTheThreeAlignmentNamesChangeTheAlignment) {
    set(R"({"TextAlignment": "right"})");
    for (const char* json : {R"({"TextAlignment": "Center"})", R"({"TextAlignment": " left"})",
                             R"({"TextAlignment": "middle"})", R"({"TextAlignment": 1})", "{}"}) {
        set(json);
        EXPECT_EQ(cell->alignment, VUIHorizontalAlignment::Right) << json;
    }
    set(R"({"TextAlignment": "left"})");
    EXPECT_EQ(cell->alignment, VUIHorizontalAlignment::Left);
}

// ---- The press road ------------------------------------------------------------------------------

class ButtonPress : public testing::FreshProcessTest {
protected:
    std::shared_ptr<VUIButtonFormCell> build() {
        const std::string type = "Control.Type.FormCell.Button";
        FormCellFactory::registerFormCell(*table, type, nullptr, delegate);
        return std::dynamic_pointer_cast<VUIButtonFormCell>(FormCellFactory::getFormCell(
            *table, {0, 0}, type, testing::params(R"({"Title": "Go"})"), nullptr, delegate));
    }

    std::shared_ptr<ui::UITableView> table = std::make_shared<ui::UITableView>();
    std::shared_ptr<testing::RecordingDelegate> delegate = testing::reportingDelegate();
};

TEST_F(ButtonPress, APressAfterTheCellIsGoneSendsNothingAndTheHandlerKeepsNothingAlive) {
    auto cell = build();
    auto handler = cell->onChangeHandler;
    std::weak_ptr<VUIButtonFormCell> weak = cell;
    cell.reset();
    EXPECT_TRUE(weak.expired());
    handler(ui::UIControl::Event::TouchUpInside);
    EXPECT_TRUE(delegate->calls.empty());
}

}  // namespace
}  // namespace trc::formcells
