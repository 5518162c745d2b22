#include <gtest/gtest.h>

#include "platform/ui/UITextField.h"
#include "platform/ui/UITextFieldDelegate.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UITextViewDelegate.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::ui;

namespace {

// Refuses letters; records what it was asked and told.
class DigitsOnly : public UITextFieldDelegate, public UITextViewDelegate {
public:
    std::string log;
    bool textFieldShouldChangeCharactersIn(UITextField& f, NSRange r, const std::string& s) override {
        log += "change(" + f.text + "," + std::to_string(r.location) + "," + s + ") ";
        return s.empty() || std::isdigit(static_cast<unsigned char>(s[0]));
    }
    void textFieldDidBeginEditing(UITextField&) override { log += "begin "; }
    void textFieldDidEndEditing(UITextField&) override { log += "end "; }
    bool textViewShouldChangeTextIn(UITextView&, NSRange, const std::string& s) override { return s != "!"; }
};

class TextEntry : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        window->addSubview(field);
        window->addSubview(view);
        field->setDelegate(delegate);
        view->setDelegate(delegate);
        field->addAction(UIControl::Event::EditingChanged, [this](UIControl&) { changes += field->text + "|"; });
    }
    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>();
    std::shared_ptr<UITextField> field = std::make_shared<UITextField>();
    std::shared_ptr<UITextView> view = std::make_shared<UITextView>();
    std::shared_ptr<DigitsOnly> delegate = std::make_shared<DigitsOnly>();
    std::string changes;
};

TEST_F(TextEntry, TypingAsksTheDelegatePerKeystrokeAndSkipsRefusedOnes) {
    EXPECT_TRUE(field->type("1a2"));
    EXPECT_EQ(field->text, "12");
    EXPECT_EQ(changes, "1|12|");
    EXPECT_EQ(delegate->log, "begin change(,0,1) change(1,1,a) change(1,1,2) ");
    EXPECT_TRUE(field->isEditing());
}

TEST_F(TextEntry, RefusedTextChangesNothing) {
    field->text = "5";
    EXPECT_FALSE(field->type("x"));
    EXPECT_EQ(field->text, "5");
    EXPECT_EQ(changes, "");
}

TEST_F(TextEntry, EditingEndsWhenAnotherResponderTakesOver) {
    field->type("1");
    view->type("hi!");
    EXPECT_EQ(view->text, "hi");
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(delegate->log, "begin change(,0,1) end ");
}

TEST_F(TextEntry, ADisabledOrLooseFieldTakesNoTyping) {
    field->setEnabled(false);
    EXPECT_FALSE(field->type("1"));
    auto loose = std::make_shared<UITextField>();
    EXPECT_FALSE(loose->type("1"));
    EXPECT_EQ(loose->text, "");
    auto readOnly = std::make_shared<UITextView>();
    readOnly->isEditable = false;
    window->addSubview(readOnly);
    EXPECT_FALSE(readOnly->type("x"));
}

TEST_F(TextEntry, DeleteBackwardRemovesAWholeCharacter) {
    field->setDelegate(nullptr);
    field->type("a😀");
    EXPECT_TRUE(field->deleteBackward());
    EXPECT_EQ(field->text, "a");
    EXPECT_TRUE(field->paste("bc"));
    EXPECT_EQ(field->text, "abc");
}

}  // namespace
