#include <gtest/gtest.h>

#include "formcells/FormCellSetters.h"
#include "formcells/FormCellSettersTestSupport.h"
#include "platform/ui/UITextView.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::vessa;
using trc::formcells::FormCellSetters;
using trc::formcells::testing::RecordingOwner;
using trc::formcells::testing::SetterTest;

namespace {

std::string classNames(const std::vector<VessaStyle>& path) {
    std::string out;
    for (const auto& s : path) out += (out.empty() ? "" : " ") + s.styleClass;
    return out;
}

// ---------------------------------------------------------------- title

using TitleSetter = SetterTest;

TEST_F(TitleSetter, AppliesItsKeysAndLeavesWhatARowDoesNotName) {
    auto cell = shown<VUITitleFormCell>();
    FormCellSetters::setTitleFormCellView(cell,
                                          params(R"({"Value": "Order 7", "PlaceHolder": "Title", "IsEditable": false,
                         "Styles": {"Background": "bg", "Value": "val"}})"));
    EXPECT_EQ(cell->value(), "Order 7");
    EXPECT_EQ(cell->placeholderText(), "Title");
    EXPECT_FALSE(cell->isEditable());
    EXPECT_EQ(cell->nuiClass, "bg");
    EXPECT_EQ(cell->valueTextField()->nuiClass, "val");

    // The same cell reused for a row naming only its value keeps the rest.
    FormCellSetters::setTitleFormCellView(cell, params(R"({"Value": 12.5})"));
    EXPECT_EQ(cell->value(), "12.5") << "a number shows as its digits";
    EXPECT_EQ(cell->placeholderText(), "Title");
    EXPECT_FALSE(cell->isEditable());
    EXPECT_EQ(cell->nuiClass, "bg");

    FormCellSetters::setTitleFormCellView(cell, params(R"({"Value": null})"));
    EXPECT_EQ(cell->value(), "12.5") << "the null object never shows as text";
}

// A new row without a value must not show, nor let a person type on from,
// the text of the row the reused cell showed before.
TEST_F(TitleSetter, ANewTextRowWithoutAValueStartsEmpty) {
    auto title = shown<VUITitleFormCell>();
    auto note = shown<VUINoteFormCell>();
    auto text = shown<VUITextFieldFormCell>();
    title->setValue("earlier row");
    note->setValue("earlier row");
    text->setValue("earlier row");
    FormCellSetters::initDefaultTitleFormCellView(title, params(R"({"Value": null})"));
    FormCellSetters::initDefaultNoteFormCellView(note, params("{}"));
    FormCellSetters::initDefaultSimplePropertyFormCellView(text, params("{}"));
    EXPECT_EQ(title->value(), "");
    EXPECT_EQ(note->value(), "");
    EXPECT_EQ(text->value(), "");

    text->setValue("own");
    FormCellSetters::initDefaultSimplePropertyFormCellView(text, params(R"({"Value": "own"})"));
    EXPECT_EQ(text->value(), "own");
}

// ---------------------------------------------------------------- note

struct LineCase {
    const char* params;
    int min;
    int max;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.params; }

class NoteLines : public SetterTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(NoteLines, FollowTheLineRule) {
    auto cell = shown<VUINoteFormCell>();
    cell->minNumberOfLines = 7;
    cell->maxNumberOfLines = 9;
    FormCellSetters::setNoteFormCellView(cell, params(GetParam().params));
    EXPECT_EQ(cell->minNumberOfLines, GetParam().min) << GetParam().params;
    EXPECT_EQ(cell->maxNumberOfLines, GetParam().max) << GetParam().params;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NoteLines,
    ::testing::Values(LineCase{R"({"IsAutoResizing": true, "MinNumberOfLines": 4, "MaxNumberOfLines": 6})", 1, 9},
                      LineCase{R"({"IsAutoResizing": false, "MinNumberOfLines": 4})", 1, 2}, LineCase{R"({})", 1, 2},
                      LineCase{R"({"MinNumberOfLines": 5})", 5, 5}, LineCase{R"({"MinNumberOfLines": 1})", 1, 2},
                      LineCase{R"({"MaxNumberOfLines": 10})", 3, 10}, LineCase{R"({"MaxNumberOfLines": 2})", 2, 2},
                      LineCase{R"({"MinNumberOfLines": 5, "MaxNumberOfLines": 2})", 5, 5},
                      LineCase{R"({"MinNumberOfLines": 2, "MaxNumberOfLines": 8})", 2, 8},
                      LineCase{R"({"MinNumberOfLines": "5"})", 1, 2},
                      LineCase{R"({"MinNumberOfLines": -3, "MaxNumberOfLines": 4})", 3, 4},
                      LineCase{R"({"MaxNumberOfLines": 4294967300})", 1, 2}));

// ---------------------------------------------------------------- keyboards

struct KeyboardCase {
    const char* name;
    ui::UIKeyboardType type;
    bool secure;
    bool ownerFilters;
};
void PrintTo(const KeyboardCase& c, std::ostream* os) { *os << '"' << c.name << '"'; }

class KeyboardNames : public SetterTest, public ::testing::WithParamInterface<KeyboardCase> {};

TEST_P(KeyboardNames, GiveKeyboardSecureEntryAndNumberFilter) {
    const KeyboardCase& c = GetParam();
    EXPECT_EQ(FormCellSetters::getKeyboardType(c.name), c.type);

    auto owner = std::make_shared<RecordingOwner>();
    auto cell = shown<VUITextFieldFormCell>();
    FormCellSetters::setSimplePropertyFormCellView(cell, params(R"({"KeyboardType": "Number"})"), owner, nullptr, {});
    FormCellSetters::setSimplePropertyFormCellView(cell, core::Dictionary{{"KeyboardType", c.name}}, owner, nullptr,
                                                   {});
    EXPECT_EQ(cell->keyboardType(), c.type);
    EXPECT_EQ(cell->valueTextField()->isSecureTextEntry, c.secure);
    EXPECT_EQ(cell->valueTextField()->delegate() == owner, c.ownerFilters);
}

INSTANTIATE_TEST_SUITE_P(Table, KeyboardNames,
                         ::testing::Values(KeyboardCase{"Email", ui::UIKeyboardType::EmailAddress, false, false},
                                           KeyboardCase{"Number", ui::UIKeyboardType::DecimalPad, false, true},
                                           KeyboardCase{"Phone", ui::UIKeyboardType::PhonePad, false, false},
                                           KeyboardCase{"Url", ui::UIKeyboardType::URL, false, false},
                                           KeyboardCase{"DateTime", ui::UIKeyboardType::NumbersAndPunctuation, false,
                                                        false},
                                           KeyboardCase{"NumberPassword", ui::UIKeyboardType::NumberPad, true, true},
                                           KeyboardCase{"Password", ui::UIKeyboardType::Default, true, false},
                                           KeyboardCase{"number", ui::UIKeyboardType::Default, false, false},
                                           KeyboardCase{" Email", ui::UIKeyboardType::Default, false, false},
                                           KeyboardCase{"", ui::UIKeyboardType::Default, false, false}));

// ---------------------------------------------------------------- simple property

using SimplePropertySetter = SetterTest;

TEST_F(SimplePropertySetter, ANewRowStartsCleanWhileAnUpdateKeepsWhatItDoesNotName) {
    auto owner = std::make_shared<RecordingOwner>();
    auto cell = shown<VUITextFieldFormCell>();
    // The cell showed a secure number row with a barcode button.
    const auto numberRow = params(R"({"KeyboardType": "NumberPassword", "AlternateInput": "Barcode",
                                      "PlaceHolder": "PIN", "IsEditable": false})");
    FormCellSetters::initDefaultSimplePropertyFormCellView(cell, numberRow);
    FormCellSetters::setSimplePropertyFormCellView(cell, numberRow, owner, nullptr, {0, 0});
    ASSERT_TRUE(cell->isAlternativeInputEnabled());

    // A host update naming only the value keeps everything else.
    FormCellSetters::setSimplePropertyFormCellView(cell, params(R"({"Value": "1"})"), owner, nullptr, {0, 0});
    EXPECT_EQ(cell->placeholder()->text, "PIN");
    EXPECT_EQ(cell->valueTextField()->delegate(), owner);
    EXPECT_TRUE(cell->isAlternativeInputEnabled());

    // Reused for a plain row: nothing of the number row survives.
    const auto plainRow = params(R"({"Value": "abc"})");
    FormCellSetters::initDefaultSimplePropertyFormCellView(cell, plainRow);
    FormCellSetters::setSimplePropertyFormCellView(cell, plainRow, owner, nullptr, {0, 1});
    EXPECT_EQ(cell->placeholder()->text, "");
    EXPECT_TRUE(cell->isEditable());
    EXPECT_FALSE(cell->valueTextField()->isSecureTextEntry);
    EXPECT_EQ(cell->keyboardType(), ui::UIKeyboardType::Default);
    EXPECT_EQ(cell->valueTextField()->delegate(), nullptr);
    EXPECT_FALSE(cell->isAlternativeInputEnabled());
    EXPECT_FALSE(cell->alternativeInputButton()->didSelectHandler);
}

TEST_F(SimplePropertySetter, AnyOtherAlternateInputSwitchesTheButtonOff) {
    auto owner = std::make_shared<RecordingOwner>();
    auto cell = shown<VUITextFieldFormCell>();
    FormCellSetters::setSimplePropertyFormCellView(cell, params(R"({"AlternateInput": "Barcode"})"), owner, nullptr,
                                                   {});
    FormCellSetters::setSimplePropertyFormCellView(cell, params(R"({"AlternateInput": "barcode"})"), owner, nullptr,
                                                   {});
    EXPECT_FALSE(cell->isAlternativeInputEnabled());
    EXPECT_FALSE(cell->alternativeInputButton()->press()) << "a hidden button takes no tap";
}

TEST_F(SimplePropertySetter, HostStylesNeverLeakIntoALaterRow) {
    auto first = shown<VUITextFieldFormCell>();
    const std::string background = first->nuiClass;
    const std::string value = first->valueTextField()->nuiClass;
    const std::string caption = classNames(first->titleStyleClassPath);

    const auto styled = params(R"({"Styles": {"Background": "bg", "Caption": "cap", "Value": "val"}})");
    FormCellSetters::setSimplePropertyFormCellView(first, styled, nullptr, nullptr, {});
    EXPECT_EQ(first->nuiClass, "bg");
    EXPECT_EQ(first->valueTextField()->nuiClass, "val");
    EXPECT_EQ(classNames(first->titleStyleClassPath), caption + " cap");

    // Configured again and again with its caption: the path does not grow.
    FormCellSetters::setSimplePropertyFormCellView(first, styled, nullptr, nullptr, {});
    EXPECT_EQ(classNames(first->titleStyleClassPath), caption + " cap");

    // Reused for a row without styles: the first cell's own classes come back.
    FormCellSetters::setSimplePropertyFormCellView(first, params("{}"), nullptr, nullptr, {});
    EXPECT_EQ(first->nuiClass, background);
    EXPECT_EQ(first->valueTextField()->nuiClass, value);
    EXPECT_EQ(classNames(first->titleStyleClassPath), caption);
}

TEST_F(SimplePropertySetter, TheDefaultStyleIsRecordedOncePerProcess) {
    auto first = shown<VUITextFieldFormCell>();
    first->nuiClass.clear();  // a framework default without a background class
    FormCellSetters::setSimplePropertyFormCellView(first, params("{}"), nullptr, nullptr, {});

    auto second = shown<VUITextFieldFormCell>();
    second->nuiClass = "leftover";
    FormCellSetters::setSimplePropertyFormCellView(second, params("{}"), nullptr, nullptr, {});
    EXPECT_EQ(second->nuiClass, "") << "no recorded background: none, not the leftover";

    core::ProcessStateReset::resetAll();
    auto third = shown<VUITextFieldFormCell>();
    FormCellSetters::setSimplePropertyFormCellView(third, params("{}"), nullptr, nullptr, {});
    EXPECT_EQ(third->nuiClass, "VUITextFieldFormCell") << "a fresh process records anew";
}

TEST_F(SimplePropertySetter, AFieldBeingEditedTakesTheFocusAgainForItsNewKeyboard) {
    auto cell = shown<VUITextFieldFormCell>();
    ASSERT_TRUE(cell->valueTextField()->becomeFirstResponder());
    const int before = cell->innerView()->focusRequests();
    FormCellSetters::setSimplePropertyFormCellView(cell, params(R"({"KeyboardType": "Email"})"), nullptr, nullptr, {});
    EXPECT_GT(cell->innerView()->focusRequests(), before);
    EXPECT_TRUE(cell->valueTextField()->isEditing());

    auto idle = shown<VUITextFieldFormCell>();
    FormCellSetters::setSimplePropertyFormCellView(idle, params(R"({"KeyboardType": "Email"})"), nullptr, nullptr, {});
    EXPECT_EQ(idle->innerView()->focusRequests(), 0);
    EXPECT_FALSE(idle->valueTextField()->isEditing());
}

// ---------------------------------------------------------------- barcode button

using BarcodeButton = SetterTest;

TEST_F(BarcodeButton, KeepsNeitherCellNorOwnerNorHostObjectAlive) {
    auto owner = std::make_shared<RecordingOwner>();
    auto host = std::make_shared<core::Object>();
    auto cell = std::make_shared<VUITextFieldFormCell>();
    FormCellSetters::configAlternateInputButton(cell, owner, host, {0, 0});
    std::weak_ptr<RecordingOwner> weakOwner = owner;
    std::weak_ptr<core::Object> weakHost = host;
    owner.reset();
    host.reset();
    EXPECT_TRUE(weakOwner.expired());
    EXPECT_TRUE(weakHost.expired());

    // A handler whose cell is gone does nothing.
    auto handler = cell->alternativeInputButton()->didSelectHandler;
    auto button = cell->alternativeInputButton();
    cell.reset();
    handler(*button);
    EXPECT_FALSE(logged(core::Severity::info, "barcode"));
}

// ---------------------------------------------------------------- one road for a new row

// A new row built in one pass ends as the two setters leave it, over a cell
// that showed a row naming every key before.
using TextBuild = SetterTest;

constexpr const char* kTextRows[] = {
    "{}",
    R"({"Value": "Order 7"})",
    R"({"PlaceHolder": "Title"})",
    R"({"Value": "", "PlaceHolder": "", "IsEditable": true})",
    R"({"Value": 42, "PlaceHolder": null, "Caption": "Count"})",
    R"({"Value": "abc", "KeyboardType": "Number", "AlternateInput": "Barcode", "MinNumberOfLines": 4})",
    R"({"KeyboardType": "Password", "AlternateInput": "None", "IsAutoResizing": true,
        "Styles": {"Background": "b", "Value": "v"}})",
};
constexpr const char* kTextBefore = R"({"Value": "Before", "PlaceHolder": "Was", "IsEditable": false,
    "Caption": "Old", "KeyboardType": "NumberPassword", "AlternateInput": "Barcode", "MaxNumberOfLines": 9,
    "Styles": {"Background": "ob", "Value": "ov"}})";

TEST_F(TextBuild, TitleAndNoteRowsEndAsTheTwoSettersLeaveThem) {
    auto title = shown<VUITitleFormCell>(), titleBuilt = shown<VUITitleFormCell>();
    auto note = shown<VUINoteFormCell>(), noteBuilt = shown<VUINoteFormCell>();
    for (const char* json : kTextRows) {
        for (const char* row : {kTextBefore, json}) {
            FormCellSetters::initDefaultTitleFormCellView(title, params(row));
            FormCellSetters::setTitleFormCellView(title, params(row));
            FormCellSetters::buildTitleFormCellView(titleBuilt, params(row));
            FormCellSetters::initDefaultNoteFormCellView(note, params(row));
            FormCellSetters::setNoteFormCellView(note, params(row));
            FormCellSetters::buildNoteFormCellView(noteBuilt, params(row));
        }
        EXPECT_EQ(titleBuilt->value(), title->value()) << json;
        EXPECT_EQ(titleBuilt->placeholderText(), title->placeholderText()) << json;
        EXPECT_EQ(titleBuilt->isEditable(), title->isEditable()) << json;
        EXPECT_EQ(titleBuilt->nuiClass, title->nuiClass) << json;
        EXPECT_EQ(titleBuilt->valueTextField()->nuiClass, title->valueTextField()->nuiClass) << json;

        EXPECT_EQ(noteBuilt->valueTextView()->text, note->valueTextView()->text) << json;
        EXPECT_EQ(noteBuilt->placeholder()->text, note->placeholder()->text) << json;
        EXPECT_EQ(noteBuilt->isEditable(), note->isEditable()) << json;
        EXPECT_EQ(noteBuilt->minNumberOfLines, note->minNumberOfLines) << json;
        EXPECT_EQ(noteBuilt->maxNumberOfLines, note->maxNumberOfLines) << json;
        EXPECT_EQ(noteBuilt->nuiClass, note->nuiClass) << json;
    }
    FormCellSetters::buildTitleFormCellView(nullptr, params("{}"));  // no cell: nothing to do
    FormCellSetters::buildNoteFormCellView(nullptr, params("{}"));
}

TEST_F(TextBuild, SimplePropertyRowsEndAsTheTwoSettersLeaveThem) {
    auto owner = std::make_shared<RecordingOwner>();
    auto cell = shown<VUITextFieldFormCell>(), built = shown<VUITextFieldFormCell>();
    for (const char* json : kTextRows) {
        for (const char* row : {kTextBefore, json}) {
            FormCellSetters::initDefaultSimplePropertyFormCellView(cell, params(row));
            FormCellSetters::setSimplePropertyFormCellView(cell, params(row), owner, nullptr, {0, 1});
            FormCellSetters::buildSimplePropertyFormCellView(built, params(row), owner, nullptr, {0, 1});
        }
        EXPECT_EQ(built->value(), cell->value()) << json;
        EXPECT_EQ(built->placeholder()->text, cell->placeholder()->text) << json;
        EXPECT_EQ(built->keyName(), cell->keyName()) << json;
        EXPECT_EQ(built->isEditable(), cell->isEditable()) << json;
        EXPECT_EQ(built->keyboardType(), cell->keyboardType()) << json;
        EXPECT_EQ(built->valueTextField()->isSecureTextEntry, cell->valueTextField()->isSecureTextEntry) << json;
        EXPECT_EQ(built->valueTextField()->delegate(), cell->valueTextField()->delegate()) << json;
        EXPECT_EQ(built->isAlternativeInputEnabled(), cell->isAlternativeInputEnabled()) << json;
        EXPECT_EQ(!built->alternativeInputButton()->didSelectHandler, !cell->alternativeInputButton()->didSelectHandler)
            << json;
        EXPECT_EQ(built->nuiClass, cell->nuiClass) << json;
        EXPECT_EQ(built->valueTextField()->nuiClass, cell->valueTextField()->nuiClass) << json;
    }
    FormCellSetters::buildSimplePropertyFormCellView(nullptr, params("{}"), owner, nullptr, {0, 0});
}

}  // namespace
