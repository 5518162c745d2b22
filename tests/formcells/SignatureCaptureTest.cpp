#include "formcells/SignatureCaptureCellDelegate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellSection.h"
#include "formcells/FormCellSetters.h"
#include "formcells/FormTestSupport.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/ImageDecoder.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITabBarController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/NUISettings.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "platform/vessa/VUISignatureCaptureController.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "services/SectionedTableViewController.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::formcells {
namespace {

using testing::params;
using testing::RecordingDelegate;
using vessa::VUISignatureCaptureController;
using vessa::VUITextFieldFormCell;

constexpr const char* kSignature = "Control.Type.FormCell.SignatureCapture";

// ---- The row's setters ------------------------------------------------------------------------

class SignatureRowSetters : public testing::FreshProcessTest {
protected:
    std::shared_ptr<VUITextFieldFormCell> cell = std::make_shared<VUITextFieldFormCell>();
};

TEST_F(SignatureRowSetters, ASignedRowShowsTheCapturedTextNeverTheInitialOne) {
    const std::string signedRow =
        R"({"Value": {"contentType": "images/png", "content": "x"}, "InitialStatusText": "Tap")";
    FormCellSetters::setSignatureCaptureLabel(cell, params(signedRow + R"(, "CapturedStatusText": "Done"})"));
    EXPECT_EQ(cell->value(), "Done");
    FormCellSetters::setSignatureCaptureLabel(cell, params(signedRow + "}"));
    EXPECT_EQ(cell->value(), "Signature captured") << "the framework's English text";

    const auto framework = foundation::Bundle::framework()->bundlePath();
    foundation::Bundle::setFrameworkFolder({});
    FormCellSetters::setSignatureCaptureLabel(cell, params(signedRow + "}"));
    foundation::Bundle::setFrameworkFolder(framework);
    EXPECT_EQ(cell->value(), "None") << "the fallback when the table lacks the key";

    FormCellSetters::setSignatureCaptureLabel(cell, params(R"({"Value": "not a signature"})"));
    EXPECT_EQ(cell->value(), "") << "an unsigned row never shows the status of the row the cell showed before";
    FormCellSetters::setSignatureCaptureLabel(cell, params(R"({"InitialStatusText": "Tap to sign"})"));
    EXPECT_EQ(cell->value(), "Tap to sign");
}

TEST_F(SignatureRowSetters, CaptionAndStylesApplyWithoutPilingUpOnAReusedCell) {
    cell->placeholder()->text = "old placeholder";
    const auto styled =
        params(R"({"Caption": "Sign", "Styles": {"Background": "bg", "Caption": "cap", "Value": "val"}})");
    FormCellSetters::setSignatureCaptureFormCell(cell, styled);
    FormCellSetters::setSignatureCaptureFormCell(cell, styled);
    EXPECT_EQ(cell->placeholder()->text, std::optional<std::string>(""));
    EXPECT_EQ(cell->keyName(), std::optional<std::string>("Sign"));
    EXPECT_EQ(cell->nuiClass, "bg");
    EXPECT_EQ(cell->valueTextField()->nuiClass, "val");
    EXPECT_EQ(cell->titleStyleClassPath, (std::vector<vessa::VessaStyle>{{"VUITextFieldFormCell.title"}, {"cap"}}));

    FormCellSetters::setSignatureCaptureFormCell(cell, params(R"({"Caption": 5})"));
    EXPECT_EQ(cell->nuiClass, "bg") << "no \"Styles\": the classes stay";
    EXPECT_EQ(cell->keyName(), std::optional<std::string>("5"));
    FormCellSetters::setSignatureCaptureFormCell(cell, params(R"({"Styles": {}})"));
    EXPECT_EQ(cell->nuiClass, "VUITextFieldFormCell") << "back to the class the cell came with";
}

// ---- The pad, from a full-screen form ---------------------------------------------------------

class SignatureForm : public testing::FreshProcessTest {
protected:
    void SetUp() override {
        FreshProcessTest::SetUp();
        VUISignatureCaptureController::now = [] { return core::Date{1767225600}; };  // 2026-01-01
        window->makeKeyAndVisible();
        testing::announce(*form, {0});
        form->sectionNames = {""};
    }
    void add(const std::string& json) {
        auto p = params(json);
        const std::string name = *p.find("_Name")->ifString();
        delegates[name] = testing::reportingDelegate();
        form->addFormCell(p, delegates[name]);
        testing::announce(*form, {form->totalNumberOfRows()});
    }
    void addSignature(const std::string& name, const std::string& extra = "") {
        add(R"({"_Type": ")" + std::string(kSignature) + R"(", "_Name": ")" + name + "\"" +
            (extra.empty() ? "" : ", " + extra) + "}");
    }
    void show(std::optional<int> rowsOnScreen = std::nullopt) {
        window->setRootViewController(form);
        settle();
        form->tableView()->setRowsOnScreen(rowsOnScreen);
        form->tableView()->layoutIfNeeded();
    }
    static void settle() { dispatch::MainQueue::shared().runUntilIdle(); }
    std::shared_ptr<VUITextFieldFormCell> cellAt(int row) {
        return std::dynamic_pointer_cast<VUITextFieldFormCell>(form->tableView()->cellForRow({0, row}));
    }
    std::shared_ptr<VUISignatureCaptureController> open(int row) {
        EXPECT_TRUE(cellAt(row)->alternativeInputButton()->press());
        settle();
        return pad();
    }
    std::shared_ptr<VUISignatureCaptureController> pad() {
        auto nav = std::dynamic_pointer_cast<ui::UINavigationController>(form->presentedViewController());
        return nav ? std::dynamic_pointer_cast<VUISignatureCaptureController>(nav->topViewController()) : nullptr;
    }
    static void sign(VUISignatureCaptureController& pad) {
        pad.draw({{{10, 10}, {50, 30}}});
        ASSERT_TRUE(pad.finish());
        settle();
    }
    core::Array storedCells() {
        const core::Value section = form->getCellTypesForSection().get("0");
        return *section.ifArray();
    }
    core::Value stored(int row) {
        const core::Array cells = storedCells();
        const core::Value* value = cells.at(static_cast<std::size_t>(row)).find("Value");
        return value ? *value : core::Value();
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<FormCellContainerViewController> form = std::make_shared<FormCellContainerViewController>();
    std::map<std::string, std::shared_ptr<RecordingDelegate>> delegates;
};

TEST_F(SignatureForm, TheRowIsAReadOnlyStatusWithASignatureButton) {
    addSignature("sig", R"("InitialStatusText": "Tap to sign")");
    show();
    auto cell = cellAt(0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reuseIdentifier(), "VUITextFieldFormCell") << "the class";
    EXPECT_EQ(form->tableView()->registeredClassName("SignatureCaptureFormCell"),
              std::optional<std::string>("VUITextFieldFormCell"));
    EXPECT_EQ(cell->value(), "Tap to sign");
    EXPECT_FALSE(cell->valueTextField()->isUserInteractionEnabled);
    EXPECT_TRUE(cell->isTrackingLiveChanges);
    auto button = cell->alternativeInputButton();
    EXPECT_TRUE(cell->isAlternativeInputEnabled());
    EXPECT_EQ(button->image()->name(), "signature");
    EXPECT_EQ(button->image()->renderingMode(), ui::UIImage::RenderingMode::AlwaysTemplate);
    EXPECT_EQ(button->imageContentMode, ui::UIViewContentMode::ScaleAspectFit);
    EXPECT_EQ(button->cellParameters.get("InitialStatusText"), core::Value("Tap to sign"));
}

TEST_F(SignatureForm, ATapOpensThePadAsTheRowAsks) {
    vessa::NUISettings::setProperty("pad", "background-color", "#FFEEDD");
    vessa::NUISettings::setProperty("pad", "stroke", "#0000FF");
    vessa::NUISettings::setProperty("pad", "stroke-width", "4.5");
    addSignature("plain", R"("Caption": "Customer")");
    addSignature(
        "custom",
        R"("Caption": "Witness", "ShowXMark": false, "ShowUnderline": true, "Styles": {"SignatureCapture": "pad"},
                              "ShowTimestampInImage": true, "TimestampFormatter": "yyyy", "WatermarkText": "Approved",
                              "WatermarkTextMaxLines": 2)");
    show();

    auto first = open(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->title, std::optional<std::string>("Customer"));
    EXPECT_EQ(form->presentedViewController()->modalPresentationStyle, ui::UIModalPresentationStyle::FullScreen)
        << "on a phone";
    EXPECT_FALSE(first->signatureCaptureView()->xImageView()->isHidden()) << "absent: as the framework has it";
    auto kept = FormCellFactory::signatureDelegate;
    ASSERT_TRUE(kept);
    EXPECT_FALSE(kept->addsTimestampInImage());
    EXPECT_EQ(kept->footnoteText()->text, "");
    EXPECT_EQ(kept->footnoteText()->numberOfLines, 5);
    EXPECT_FALSE(kept->footnoteTextAlignment());
    first->cancel();
    settle();
    EXPECT_FALSE(form->presentedViewController());

    auto second = open(1);
    ASSERT_TRUE(second);
    EXPECT_NE(FormCellFactory::signatureDelegate, kept) << "the newest opening is kept";
    auto surface = second->signatureCaptureView();
    EXPECT_TRUE(surface->xImageView()->isHidden());
    EXPECT_FALSE(surface->signatureLineView()->isHidden());
    EXPECT_EQ(surface->backgroundColor->hexString(), "#FFEEDD");
    EXPECT_EQ(surface->strokeColor.hexString(), "#0000FF");
    EXPECT_EQ(surface->strokeWidth, 4.5);
    sign(*second);
    EXPECT_EQ(second->imageTimestampText(), std::optional<std::string>("2026"));
    EXPECT_EQ(second->imageFootnote()->text, "Approved");
    EXPECT_EQ(second->imageFootnote()->numberOfLines, 2);
}

TEST_F(SignatureForm, FinishingStoresAndReportsThePNGAndShowsTheCapturedText) {
    addSignature("sig", R"("InitialStatusText": "Tap to sign", "CapturedStatusText": "Signed")");
    show();
    auto p = open(0);
    ASSERT_TRUE(p);
    p->cancel();
    settle();
    EXPECT_TRUE(delegates["sig"]->calls.empty());
    EXPECT_TRUE(stored(0).isNil());
    EXPECT_EQ(cellAt(0)->value(), "Tap to sign");

    p = open(0);
    EXPECT_FALSE(p->finish()) << "nothing drawn";
    sign(*p);
    EXPECT_FALSE(form->presentedViewController());
    ASSERT_EQ(delegates["sig"]->calls.size(), 1u);
    const core::Value& sent = delegates["sig"]->calls[0].args.at(0);
    const core::Value* value = sent.find("Value");
    ASSERT_TRUE(value && value->isDictionary());
    EXPECT_EQ(*value->find("contentType"), core::Value("images/png")) << "as hosts expect it";
    std::string error;
    auto pixels = ui::ImageDecoder::decodePNG(*value->find("content")->ifData(), error);
    ASSERT_TRUE(pixels) << error;
    EXPECT_EQ(pixels->width, 320u);
    EXPECT_EQ(stored(0), *value);
    EXPECT_EQ(cellAt(0)->value(), "Signed");
}

// The rows of the PNG the host received that hold a pixel other than the
// white background, counted from the bottom.
std::set<std::uint32_t> inkedRowsFromBottom(const core::Value& sent) {
    const core::Value* value = sent.find("Value");
    const core::Value* content = value ? value->find("content") : nullptr;
    std::string error;
    auto png = content && content->ifData() ? ui::ImageDecoder::decodePNG(*content->ifData(), error) : std::nullopt;
    EXPECT_TRUE(png) << error;
    std::set<std::uint32_t> rows;
    if (!png) return rows;
    for (std::uint32_t y = 0; y < png->height; ++y) {
        for (std::uint32_t x = 0; x < png->width; ++x) {
            const std::uint8_t* p = &png->rgba[(std::size_t{y} * png->width + x) * 4];
            if (p[0] != 0xFF || p[1] != 0xFF || p[2] != 0xFF) {
                rows.insert(png->height - 1 - y);
                break;
            }
        }
    }
    return rows;
}

TEST_F(SignatureForm, TheHostsPNGCarriesTheFootnoteAndTimeStampBelowTheStrokesOnlyWhenAsked) {
    addSignature("plain");
    addSignature("footnote", R"("WatermarkText": "Approved by the site manager")");
    addSignature("stamped", R"("ShowTimestampInImage": true, "TimestampFormatter": "yyyy-MM-dd")");
    addSignature("both", R"("ShowTimestampInImage": true, "TimestampFormatter": "yyyy-MM-dd",
                            "WatermarkText": "one two three four five six seven eight nine ten eleven twelve thirteen fourteen fifteen sixteen seventeen eighteen",
                            "WatermarkTextMaxLines": 2)");
    show();
    // The strokes stay in the top 40 rows of the 160; the footnote block sits at the bottom.
    auto rowsOf = [&](int row, const std::string& name) {
        auto p = open(row);
        EXPECT_TRUE(p);
        if (!p) return std::set<std::uint32_t>{};
        p->draw({{{10, 10}, {50, 30}}});
        EXPECT_TRUE(p->finish());
        settle();
        EXPECT_EQ(delegates[name]->calls.size(), 1u);
        return delegates[name]->calls.empty() ? std::set<std::uint32_t>{}
                                              : inkedRowsFromBottom(delegates[name]->calls[0].args.at(0));
    };
    auto inFootnoteArea = [](const std::set<std::uint32_t>& rows) {
        return std::count_if(rows.begin(), rows.end(), [](std::uint32_t fromBottom) { return fromBottom < 100; });
    };
    auto highest = [](const std::set<std::uint32_t>& rows) {
        std::uint32_t top = 0;
        for (auto r : rows) {
            if (r < 100) top = std::max(top, r);
        }
        return top;
    };

    const auto plain = rowsOf(0, "plain");
    EXPECT_FALSE(plain.empty()) << "the strokes";
    EXPECT_EQ(inFootnoteArea(plain), 0) << "nothing asked, nothing drawn below the strokes";

    const auto footnote = rowsOf(1, "footnote");
    EXPECT_GT(inFootnoteArea(footnote), 4) << "the footnote's line";
    EXPECT_LT(highest(footnote), 30u) << "one line at the bottom";

    const auto stamped = rowsOf(2, "stamped");
    EXPECT_GT(inFootnoteArea(stamped), 4) << "the time stamp's line";
    EXPECT_LT(highest(stamped), 30u);

    const auto both = rowsOf(3, "both");
    EXPECT_GT(highest(both), 30u) << "two footnote lines and the time stamp take three lines";
    EXPECT_LT(highest(both), 60u) << "the footnote is cut to its two lines";
}

TEST_F(SignatureForm, ASignatureReachesItsOwnRowWhereverItMovedAndEvenOffScreen) {
    add(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "above"})");
    addSignature("sig");
    add(R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": "below", "Value": "kept"})");
    show(2);
    auto p = open(1);
    ASSERT_TRUE(p);
    // While the pad is open the row above is hidden: the signature row moves up.
    core::Array cells = storedCells();
    cells[0].mutableDictionary().set("IsVisible", false);
    form->updateFormCells(cells, std::nullopt);
    form->tableView()->scrollToRow({0, 1}, ui::UITableView::ScrollPosition::Bottom, false);
    sign(*p);

    EXPECT_TRUE(stored(1).isDictionary());
    EXPECT_EQ(stored(2), core::Value("kept")) << "never written into the row that took its place";
    EXPECT_EQ(cellAt(1)->value(), "kept");
    EXPECT_EQ(delegates["sig"]->calls.size(), 1u);
    EXPECT_TRUE(delegates["below"]->calls.empty());

    // Opened again, then hidden before finishing: nowhere to store it.
    form->tableView()->scrollToRow({0, 0}, ui::UITableView::ScrollPosition::Top, false);
    p = open(0);
    cells = storedCells();
    cells[1].mutableDictionary().set("IsVisible", false);
    cells[1].mutableDictionary().set("Value", core::Value());
    form->updateFormCells(cells, std::nullopt);
    sign(*p);
    EXPECT_TRUE(testing::logged(core::Severity::warn, "no longer shown"));
    EXPECT_EQ(delegates["sig"]->calls.size(), 1u);
}

TEST_F(SignatureForm, AnOffScreenRowIsStoredAndShowsTheTextWhenBack) {
    add(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "t"})");
    addSignature("sig");
    show();
    auto p = open(1);
    form->tableView()->setRowsOnScreen(1);
    form->tableView()->scrollToRow({0, 0}, ui::UITableView::ScrollPosition::Top, false);
    ASSERT_FALSE(cellAt(1));
    sign(*p);
    EXPECT_TRUE(stored(1).isDictionary());
    EXPECT_EQ(delegates["sig"]->calls.size(), 1u);
    form->tableView()->scrollToRow({0, 1}, ui::UITableView::ScrollPosition::Bottom, false);
    EXPECT_EQ(cellAt(1)->value(), "Signature captured");
}

TEST_F(SignatureForm, AFinishAfterTheFormIsGoneDoesNothing) {
    addSignature("sig");
    show();
    auto p = open(0);
    auto host = delegates["sig"];
    window->setRootViewController(std::make_shared<ui::UIViewController>());
    settle();
    delegates.clear();
    form.reset();
    p->draw({{{1, 1}}});
    p->finish();
    settle();
    EXPECT_TRUE(host->calls.empty());
}

TEST_F(SignatureForm, WithoutARootNothingIsShownButTheDelegateIsKept) {
    addSignature("sig");
    auto handler = FormCellFactory::signatureCaptureTapHandler(form, delegates["sig"], {0, 0});
    vessa::VUIButton button;
    handler(button);
    EXPECT_TRUE(FormCellFactory::signatureDelegate);
    EXPECT_FALSE(form->presentedViewController());
}

TEST_F(SignatureForm, OnATabletOverASheetThePadIsASheetAsWideAsItsPresenter) {
    ui::UIDevice::current()->model = "iPad";
    addSignature("sig");
    auto host = std::make_shared<ui::UIViewController>();
    window->setRootViewController(host);
    settle();
    form->modalPresentationStyle = ui::UIModalPresentationStyle::PageSheet;
    form->isModalInPresentation = true;
    host->present(form, false);
    settle();
    form->tableView()->layoutIfNeeded();
    auto p = open(0);
    ASSERT_TRUE(p);
    auto nav = p->navigationController();
    EXPECT_EQ(nav->modalPresentationStyle, ui::UIModalPresentationStyle::FormSheet);
    EXPECT_TRUE(nav->isModalInPresentation);
    const auto frame = form->view()->frame();
    EXPECT_EQ(p->preferredContentSize.width, frame.size.width);
    EXPECT_EQ(p->preferredContentSize.height, frame.size.height - 44 - 44 - 14);

    p->cancel();
    settle();
    form->isModalInPresentation = false;
    p = open(0);
    EXPECT_EQ(p->navigationController()->modalPresentationStyle, ui::UIModalPresentationStyle::Automatic);
}

TEST_F(SignatureForm, AListPickerShownInATabPresentsThePad) {
    addSignature("sig");
    auto picker = std::make_shared<vessa::VUIListPickerTableViewController>();
    auto pickerNav = ui::UINavigationController::make(picker);
    auto tabs = std::make_shared<ui::UITabBarController>();
    tabs->setViewControllers({pickerNav});
    auto screen = std::make_shared<ui::UIViewController>();
    screen->addChild(tabs);
    auto root = ui::UINavigationController::make(screen);
    window->setRootViewController(root);
    settle();
    vessa::VUIButton button;
    FormCellFactory::signatureCaptureTapHandler(form, delegates["sig"], {0, 0})(button);
    settle();
    EXPECT_EQ(pickerNav->presentedViewController()->className(), "UINavigationController");
}

// ---- The pad, from a form cell section --------------------------------------------------------

TEST(SignatureSection, ASectionThatLostItsPageStillStoresAndReports) {
    core::ProcessStateReset::resetAll();
    dispatch::MainQueue::resetShared();
    auto window = std::make_shared<ui::UIWindow>();
    window->makeKeyAndVisible();
    auto section = FormCellSection::make({{"itemCount", 1}}, nullptr);
    auto host = testing::reportingDelegate();
    section->setFormCellSectionItem(params(R"({"_Type": "Control.Type.FormCell.SignatureCapture", "_Name": "s"})"),
                                    host);
    auto page = std::make_shared<services::SectionedTableViewController>();
    page->initialize({section});
    window->setRootViewController(page);
    dispatch::MainQueue::shared().runUntilIdle();
    page->tableView()->layoutIfNeeded();
    auto cell = std::dynamic_pointer_cast<VUITextFieldFormCell>(page->tableView()->cellForRow({0, 0}));
    ASSERT_TRUE(cell && cell->alternativeInputButton()->press());
    dispatch::MainQueue::shared().runUntilIdle();
    auto nav = std::dynamic_pointer_cast<ui::UINavigationController>(page->presentedViewController());
    auto pad = std::dynamic_pointer_cast<VUISignatureCaptureController>(nav->topViewController());
    ASSERT_TRUE(pad);
    EXPECT_TRUE(FormCellFactory::signatureFormsectionDelegate);
    EXPECT_FALSE(FormCellFactory::signatureDelegate);

    window->setRootViewController(std::make_shared<ui::UIViewController>());
    nav.reset();
    page.reset();
    cell.reset();
    dispatch::MainQueue::shared().runUntilIdle();
    ASSERT_FALSE(section->parentTable());
    pad->draw({{{3, 3}, {9, 9}}});
    pad->finish();
    dispatch::MainQueue::shared().runUntilIdle();
    EXPECT_TRUE(section->getCellItems()[0].find("Value")->isDictionary());
    EXPECT_EQ(host->calls.size(), 1u);
    core::ProcessStateReset::resetAll();
}

}  // namespace
}  // namespace trc::formcells
