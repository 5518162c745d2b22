#include <gtest/gtest.h>

#include <functional>

#include "formcells/FormCellSetters.h"
#include "formcells/FormCellSettersTestSupport.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"

using namespace trc;
using namespace trc::vessa;
using trc::formcells::FormCellSetters;
using trc::formcells::testing::SetterTest;

namespace {

// What a validation line shows, as one short text.
std::string describe(const std::optional<std::string>& message, const VUIInlineValidationView& view) {
    auto color = [](const std::optional<ui::UIColor>& c) { return c ? c->hexString() : std::string("-"); };
    std::string text = message ? "\"" + *message + "\"" : "none";
    text += view.isHidden() ? " hidden" : " shown";
    text += view.separator()->isHidden() ? " sep:hidden" : " sep:shown";
    text += " text:" + (view.titleLabel()->textColor.empty() ? std::string("-") : view.titleLabel()->textColor);
    text += " sep:" + color(view.separator()->backgroundColor);
    text += " bg:" + color(view.backgroundView()->backgroundColor);
    return text;
}

// One overload on its own kind of cell, answering what the cell's line shows.
using Configure = std::function<std::string(const core::Dictionary&)>;

template <class Cell>
Configure configureFor(std::shared_ptr<Cell> cell) {
    return [cell](const core::Dictionary& p) {
        FormCellSetters::setValidationView(cell, p);
        return describe(cell->validationMessage(), *cell->validationView());
    };
}

struct ValidationCase {
    const char* params;
    const char* shows;
};
void PrintTo(const ValidationCase& c, std::ostream* os) { *os << c.params; }

class ValidationKeys : public SetterTest, public ::testing::WithParamInterface<ValidationCase> {};

// Every overload gives the same line, whatever the cell showed before.
TEST_P(ValidationKeys, ShowTheSameOnEveryKindOfCell) {
    const std::vector<std::pair<const char*, Configure>> cells{
        {"title", configureFor(std::make_shared<VUITitleFormCell>())},
        {"note", configureFor(std::make_shared<VUINoteFormCell>())},
        {"text", configureFor(std::make_shared<VUITextFieldFormCell>())},
        {"switch", configureFor(std::make_shared<VUISwitchFormCell>())},
    };
    const auto everything = params(R"({"validationProperties": {"ValidationMessage": "old",
        "ValidationMessageColor": "#111111", "SeparatorBackgroundColor": "#222222", "SeparatorIsHidden": false,
        "ValidationViewBackgroundColor": "#333333", "ValidationViewIsHidden": false}})");
    for (const auto& [kind, configure] : cells) {
        configure(everything);
        EXPECT_EQ(configure(params(GetParam().params)), GetParam().shows) << kind << " " << GetParam().params;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValidationKeys,
    ::testing::Values(
        // No key: no message, nothing shown, colours cleared but the message colour.
        ValidationCase{R"({})", "none hidden sep:hidden text:#111111 sep:- bg:-"},
        ValidationCase{R"({"ValidationMessage": "Required", "ValidationViewIsHidden": false})",
                       "\"Required\" shown sep:hidden text:#111111 sep:- bg:-"},
        ValidationCase{R"({"validationProperties": {"ValidationMessage": "Too long", "ValidationViewIsHidden": false,
                           "SeparatorIsHidden": false, "ValidationMessageColor": "#FF0000",
                           "SeparatorBackgroundColor": "#00FF00", "ValidationViewBackgroundColor": "#0000FF"}})",
                       "\"Too long\" shown sep:shown text:#FF0000 sep:#00FF00 bg:#0000FF"},
        // Colours count only inside "validationProperties".
        ValidationCase{R"({"ValidationMessageColor": "#FF0000", "SeparatorBackgroundColor": "#00FF00",
                           "ValidationViewBackgroundColor": "#0000FF"})",
                       "none hidden sep:hidden text:#111111 sep:- bg:-"},
        // A top-level value wins over the one inside.
        ValidationCase{R"({"ValidationMessage": 404, "ValidationViewIsHidden": true,
                           "validationProperties": {"ValidationMessage": "inner", "ValidationViewIsHidden": false}})",
                       "\"404\" hidden sep:hidden text:#111111 sep:- bg:-"},
        // The null object is no message; a string is no flag; a bad colour is none.
        ValidationCase{R"({"ValidationMessage": null, "ValidationViewIsHidden": "false",
                           "validationProperties": {"SeparatorBackgroundColor": "green"}})",
                       "none hidden sep:hidden text:#111111 sep:- bg:-"},
        ValidationCase{R"({"validationProperties": {"ValidationMessage": 5}})",
                       "none hidden sep:hidden text:#111111 sep:- bg:-"}));

}  // namespace

// A row naming no validation key clears whatever one part of the line a
// reused cell kept, even while the line itself is hidden.
TEST_F(SetterTest, ValidationKeysLeftOutClearEachPartAReusedCellKept) {
    const char* leftOvers[] = {
        R"({"ValidationMessage": "kept"})",
        R"({"SeparatorIsHidden": false})",
        R"({"validationProperties": {"SeparatorBackgroundColor": "#222222"}})",
        R"({"validationProperties": {"ValidationViewBackgroundColor": "#333333"}})",
        R"({"ValidationViewIsHidden": false})",
    };
    for (const char* leftOver : leftOvers) {
        auto configure = configureFor(std::make_shared<VUITextFieldFormCell>());
        EXPECT_NE(configure(params(leftOver)), "none hidden sep:hidden text:- sep:- bg:-") << leftOver;
        EXPECT_EQ(configure(params("{}")), "none hidden sep:hidden text:- sep:- bg:-") << leftOver;
        EXPECT_EQ(configure(params(R"({"Value": "x"})")), "none hidden sep:hidden text:- sep:- bg:-") << leftOver;
    }
}
