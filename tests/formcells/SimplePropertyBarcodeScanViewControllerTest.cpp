#include "formcells/SimplePropertyBarcodeScanViewController.h"

#include <gtest/gtest.h>

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellSetters.h"
#include "formcells/FormTestSupport.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::formcells {
namespace {

using testing::params;
using testing::RecordingDelegate;
using Scanner = std::shared_ptr<vessa::VUIBarcodeScanViewController>;

constexpr const char* kLogger = SimplePropertyBarcodeScanViewController::kLoggerName;

// A row's callback object that also notes what the form had stored for the
// row at the moment it was told.
class WatchingDelegate : public RecordingDelegate {
public:
    explicit WatchingDelegate(std::function<core::Value()> watch)
        : RecordingDelegate({"valueChangedWithParams"}), watch_(std::move(watch)) {}
    core::Value perform(std::string_view selector, core::Args args) override {
        seen.push_back(watch_());
        return RecordingDelegate::perform(selector, args);
    }
    std::vector<core::Value> seen;

private:
    std::function<core::Value()> watch_;
};

class BarcodeInput : public testing::FreshProcessTest {
protected:
    void SetUp() override {
        FreshProcessTest::SetUp();
        testing::announce(*form, {3});
        form->sectionNames = {""};
        form->addFormCell(params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "gone", "IsVisible": false})"),
                          nullptr);
        form->addFormCell(params(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": "code",
                                     "Value": "old", "AlternateInput": "Barcode"})"),
                          host);
        form->addFormCell(params(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": "other",
                                     "AlternateInput": "Barcode"})"),
                          nullptr);
        window->setRootViewController(nav);
        window->makeKeyAndVisible();
        settle();
        form->tableView()->layoutIfNeeded();
    }
    static void settle() { dispatch::MainQueue::shared().runUntilIdle(); }

    std::shared_ptr<vessa::VUITextFieldFormCell> cell(int row = 0) {
        return std::dynamic_pointer_cast<vessa::VUITextFieldFormCell>(form->tableView()->cellForRow({0, row}));
    }
    // The person taps the row's barcode button; the scanner then on screen.
    Scanner tapBarcode(int row = 0) {
        EXPECT_TRUE(cell(row)->alternativeInputButton()->press());
        settle();
        auto shown = std::dynamic_pointer_cast<ui::UINavigationController>(nav->presentedViewController());
        return shown ? std::dynamic_pointer_cast<vessa::VUIBarcodeScanViewController>(shown->topViewController())
                     : nullptr;
    }
    // A person scans text into shown row 0.
    void scan(const std::string& text) {
        Scanner scanner = tapBarcode();
        ASSERT_TRUE(scanner);
        ASSERT_TRUE(scanner->scanText(text));
        settle();
    }
    core::Value stored(int hostRow) const {
        const core::Value rows = form->getCellTypesForSection().get("0");
        return rows.ifArray()->at(static_cast<std::size_t>(hostRow)).ifDictionary()->get("Value");
    }

    std::shared_ptr<FormCellContainerViewController> form = std::make_shared<FormCellContainerViewController>();
    std::shared_ptr<WatchingDelegate> host = std::make_shared<WatchingDelegate>([this] { return stored(1); });
    std::shared_ptr<ui::UINavigationController> nav = ui::UINavigationController::make(form);
    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
};

TEST_F(BarcodeInput, AReadingBecomesTheRowsValueStoredBeforeTheHostHearsIt) {
    Scanner scanner = tapBarcode();
    ASSERT_TRUE(scanner);
    EXPECT_TRUE(scanner->modalPresentationCapturesStatusBarAppearance);
    ASSERT_TRUE(scanner->scanText("4006381333931"));
    EXPECT_EQ(cell()->value(), "old") << "the row changes once the scanner has closed";
    settle();

    EXPECT_EQ(nav->presentedViewController(), nullptr);
    EXPECT_EQ(cell()->value(), "4006381333931");
    EXPECT_EQ(stored(1), core::Value("4006381333931")) << "under the host row, past the hidden one";
    ASSERT_EQ(host->calls.size(), 1u);
    EXPECT_EQ(host->calls[0].args[0], core::Value(core::Dictionary{{"Value", "4006381333931"}}));
    EXPECT_EQ(host->seen, std::vector<core::Value>{core::Value("4006381333931")});
    EXPECT_TRUE(testing::logged(core::Severity::info, "scan result: Optional(\"4006381333931\")"));
    EXPECT_EQ(core::internal::Logging::captured().back().logger, kLogger);
}

TEST_F(BarcodeInput, TheScannerIsDoneWithAfterItsFirstReading) {
    Scanner scanner = tapBarcode();
    scanner->deliverScanResult(vessa::VUIBarcodeScanResult("A-1"));
    scanner->deliverScanResult(vessa::VUIBarcodeScanResult("A-2"));  // while it closes
    settle();
    scanner->deliverScanResult(vessa::VUIBarcodeScanResult("A-3"));  // after
    settle();
    EXPECT_EQ(cell()->value(), "A-1");
    EXPECT_EQ(stored(1), core::Value("A-1"));
    EXPECT_EQ(host->calls.size(), 1u);
    EXPECT_TRUE(scanner->delegate.expired());
}

TEST_F(BarcodeInput, ARowConfiguredAnewWhileItsScannerIsOpenStillTakesTheReading) {
    Scanner scanner = tapBarcode();
    form->updateFormCell(
        params(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": "code", "AlternateInput": "Barcode",
                                    "Caption": "Code"})"),
        1, 0);
    settle();
    ASSERT_TRUE(scanner->scanText("B-7"));
    settle();
    EXPECT_EQ(stored(1), core::Value("B-7"));
    EXPECT_EQ(host->calls.size(), 1u);
}

// The callback object a reading goes to is the one the row's stored name
// finds when the host last updated the row: a person's change keeps it, a
// rename or a new registration under the name changes it, an update aimed
// at a hidden row changes nothing.
TEST_F(BarcodeInput, AfterAHostUpdateAReadingGoesToTheCallbackObjectTheRowsNameFindsNow) {
    scan("1");  // a person's change
    form->updateFormCell(params(R"({"Caption": "Code"})"), 1, 0);
    scan("2");
    form->updateFormCell(params(R"({"_Name": "other"})"), 0, 0);  // the hidden row: nothing changes
    scan("3");
    EXPECT_EQ(host->calls.size(), 3u);

    // The host registers another callback object under the row's name.
    auto next = std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{"valueChangedWithParams"});
    form->addFormCell(params(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": "code",
                                 "IsVisible": false})"),
                      next);
    form->updateFormCell(params(R"({"Value": "host"})"), 1, 0);
    scan("4");
    EXPECT_EQ(host->calls.size(), 3u);
    ASSERT_EQ(next->calls.size(), 1u);
    EXPECT_EQ(next->calls[0].args[0], core::Value(core::Dictionary{{"Value", "4"}}));

    // Renamed by the host: the row now reports to what its new name finds (none).
    form->updateFormCell(params(R"({"_Name": "other"})"), 1, 0);
    scan("5");
    EXPECT_EQ(host->calls.size(), 3u);
    EXPECT_EQ(next->calls.size(), 1u);
    EXPECT_EQ(stored(1), core::Value("5"));
}

// Rows the host sends again keep what their names find: the same name the
// same callback object, another name what that one finds.
TEST_F(BarcodeInput, RowsSentAgainReportToWhatTheirNamesFind) {
    auto sendRows = [&](const char* name) {
        core::Dictionary code =
            params(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "AlternateInput": "Barcode"})");
        if (name) code.set("_Name", core::Value(name));
        form->updateFormCells(
            core::Array{
                core::Value(params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "gone", "IsVisible": false})")),
                core::Value(std::move(code)),
                core::Value(params(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": "other"})"))},
            std::nullopt);
        settle();
    };
    scan("1");
    sendRows("code");
    scan("2");
    EXPECT_EQ(host->calls.size(), 2u);
    sendRows("other");
    scan("3");
    sendRows(nullptr);
    scan("4");
    EXPECT_EQ(host->calls.size(), 2u);
    sendRows("code");
    scan("5");
    EXPECT_EQ(host->calls.size(), 3u);
    EXPECT_EQ(stored(1), core::Value("5"));
}

TEST_F(BarcodeInput, AReadingForARowHiddenWhileTheScannerIsOpenIsDroppedAndLogged) {
    Scanner scanner = tapBarcode();
    form->updateFormCells(
        core::Array{
            core::Value(params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "gone", "IsVisible": false})")),
            core::Value(params(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": "code",
                                           "Value": "old", "AlternateInput": "Barcode", "IsVisible": false})")),
            core::Value(params(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": "other",
                                           "AlternateInput": "Barcode"})"))},
        std::nullopt);
    settle();
    ASSERT_TRUE(scanner->scanText("C-1"));
    settle();
    EXPECT_EQ(stored(1), core::Value("old"));
    EXPECT_TRUE(stored(2).isNil()) << "the row now shown where it was keeps nothing";
    EXPECT_EQ(cell(0)->value(), "");
    EXPECT_TRUE(host->calls.empty());
    EXPECT_TRUE(testing::logged(core::Severity::warn, "\"code\" is no longer shown"));
}

TEST_F(BarcodeInput, WithoutAFormOrAHostTheCellStillShowsTheReading) {
    // A cell configured by hand: no owner, a callback object that is gone.
    auto lone = std::make_shared<vessa::VUITextFieldFormCell>();
    auto gone = std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{"valueChangedWithParams"});
    FormCellSetters::configAlternateInputButton(lone, nullptr, gone, {0, 4});
    gone.reset();
    ASSERT_TRUE(lone->alternativeInputButton()->press());
    settle();
    auto shown = std::dynamic_pointer_cast<ui::UINavigationController>(nav->presentedViewController());
    ASSERT_TRUE(shown);
    std::dynamic_pointer_cast<vessa::VUIBarcodeScanViewController>(shown->topViewController())->scanText("C-3");
    settle();
    EXPECT_EQ(lone->value(), "C-3");

    // A row whose callback object is the default one.
    Scanner scanner = tapBarcode(1);
    scanner->scanText("D-4");
    settle();
    EXPECT_EQ(cell(1)->value(), "D-4");
    EXPECT_EQ(stored(2), core::Value("D-4"));
}

TEST_F(BarcodeInput, AFormThatScannedIsFreedWithItsCellsAndControllers) {
    Scanner scanner = tapBarcode();
    scanner->scanText("E-5");
    settle();
    std::weak_ptr<FormCellContainerViewController> weakForm = form;
    std::weak_ptr<vessa::VUITextFieldFormCell> weakCell = cell();
    std::weak_ptr<ui::UIViewController> weakScanner = scanner;
    scanner.reset();
    form.reset();
    nav.reset();
    window.reset();
    core::ProcessStateReset::resetAll();
    EXPECT_TRUE(weakForm.expired());
    EXPECT_TRUE(weakCell.expired());
    EXPECT_TRUE(weakScanner.expired());
}

}  // namespace
}  // namespace trc::formcells
