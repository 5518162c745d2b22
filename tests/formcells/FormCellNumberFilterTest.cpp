#include <gtest/gtest.h>

#include <memory>

#include "formcells/FormCellNumberFilter.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextFieldDelegate.h"
#include "platform/ui/UIWindow.h"

using namespace trc;
using formcells::FormCellNumberFilter;

namespace {

// The text-field delegate of an owner, asking the filter.
class Owner : public ui::UITextFieldDelegate {
public:
    bool textFieldShouldChangeCharactersIn(ui::UITextField& f, ui::NSRange range, const std::string& r) override {
        return FormCellNumberFilter::shouldChangeCharacters(f, range, r);
    }
};

// A number field in a window.
class NumberField : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(field);
        field->setDelegate(owner);
    }
    // Types each string in turn, one keystroke each; the field's text after.
    std::string typed(std::initializer_list<const char*> keys) {
        for (const char* k : keys) field->type(k);
        return field->text;
    }
    std::shared_ptr<Owner> owner = std::make_shared<Owner>();
    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<ui::UITextField> field = std::make_shared<ui::UITextField>();
};

}  // namespace

TEST_F(NumberField, OneSeparatorOfEitherKindAndDigitsAfterIt) {
    EXPECT_EQ(typed({"1", "2", ",", "5", ",", ".", "7"}), "12,57");
    field->text = "3.5";
    EXPECT_EQ(typed({",", "1"}), "3.51") << "a comma after a point is refused, a digit accepted";
}

TEST_F(NumberField, MinusOnlyFirst) {
    EXPECT_EQ(typed({"-", "4", "-"}), "-4");
    field->text = "12";
    EXPECT_FALSE(field->type("-"));
    EXPECT_EQ(field->text, "12");
}

TEST_F(NumberField, PastingIsJudgedByTheResult) {
    EXPECT_TRUE(field->paste("12,5"));
    field->text.clear();
    EXPECT_FALSE(field->paste("1,2,3")) << "three separators in one paste";
    EXPECT_FALSE(field->paste("1a"));
    field->text = "1.5";
    EXPECT_TRUE(field->replace({1, 1}, ",")) << "replacing the only separator by the other kind";
    EXPECT_EQ(field->text, "1,5");
    EXPECT_FALSE(field->replace({9, 0}, "1")) << "a range outside the text";
}

TEST_F(NumberField, DeletingIsAlwaysAllowedEvenFromAHostText) {
    field->text = "abc";
    EXPECT_TRUE(field->deleteBackward());
    EXPECT_EQ(field->text, "ab");
}

TEST_F(NumberField, SecureFieldTakesDigitsOnly) {
    field->isSecureTextEntry = true;
    EXPECT_EQ(typed({"1", "a", "-", ".", "2"}), "12");
    EXPECT_TRUE(FormCellNumberFilter::isDigits("\xD9\xA3"));  // Arabic-Indic three
}

TEST(NumberText, Shapes) {
    for (const char* ok : {"", "-", "1", "-1", "1.", ".5", "-,5", "12,34", "\xD9\xA3.\xD9\xA4"}) {
        EXPECT_TRUE(FormCellNumberFilter::isNumberText(ok)) << ok;
    }
    for (const char* bad : {"1-", "--1", "1..2", "1.2,3", "1e3", " 1", "+1", "\xFF"}) {
        EXPECT_FALSE(FormCellNumberFilter::isNumberText(bad)) << bad;
    }
}

TEST_F(NumberField, AHostTextThatIsNoNumberStillTakesDigitsAndDeletions) {
    struct Case {
        const char* hostText;
        std::initializer_list<const char*> keys;
        const char* shows;
    };
    for (const Case& c :
         {Case{"1,234.5", {"6", "x", "7"}, "1,234.567"}, Case{"12 kg", {"3", ".", ",", "-"}, "12 kg3.,-"},
          Case{"12 kg", {"a", " "}, "12 kg"}, Case{"--", {"1", ".", "5"}, "--1.5"}}) {
        field->text = c.hostText;
        EXPECT_EQ(typed(c.keys), c.shows) << c.hostText;
    }
    // Only what is inserted is judged, and it must itself keep the rule.
    field->text = "1,234.5";
    EXPECT_TRUE(field->paste("89"));
    EXPECT_FALSE(field->paste("1.2.3")) << "two separators in what is inserted";
    EXPECT_FALSE(field->paste("4-")) << "a minus not first in what is inserted";
    EXPECT_TRUE(field->deleteBackward());
    EXPECT_EQ(field->text, "1,234.58");
    EXPECT_FALSE(field->replace({40, 0}, "1")) << "a range outside the text";
}
