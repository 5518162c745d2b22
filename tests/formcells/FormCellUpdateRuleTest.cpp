// A cell on screen shows what its row's stored parameters say, however it
// got there: after a host update it shows exactly what it shows once the row
// is scrolled away and built again, for every kind, both owners and every
// sort of update; and a reused cell shows what a fresh cell shows.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellSection.h"
#include "formcells/FormTestSupport.h"
#include "formcells/ShownCell.h"
#include "platform/dispatch/Clock.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "services/SectionedTableViewController.h"

namespace trc::formcells {
namespace {

using testing::params;
using testing::shownCell;

constexpr const char* kValidation =
    R"("validationProperties": {"ValidationMessage": "Check it", "ValidationViewIsHidden": false, "SeparatorIsHidden": false, "ValidationMessageColor": "#FF0000"})";

// A kind, a row of it that names its keys, and one update of each sort.
struct KindCase {
    const char* kind;
    std::string row;
    std::string valueUpdate;
    std::string styleUpdate;
    // One of the kind's own keys; for a note, a key of its line limits.
    std::string ownKeyUpdate;
    // Whether the row holds a value (one a person picks, or the signature).
    bool hasValue = true;
};

std::vector<KindCase> kinds() {
    const std::string v = kValidation;
    return {
        {"Title",
         R"({"Value": "t", "PlaceHolder": "p", "IsEditable": false, "Styles": {"Background": "bg", "Value": "val"}, )" +
             v + "}",
         R"({"Value": "t2"})", R"({"Styles": {"Background": "bg2"}})", R"({"PlaceHolder": "p2"})"},
        {"Note",
         R"({"Value": "n", "PlaceHolder": "p", "MinNumberOfLines": 4, "MaxNumberOfLines": 10, "Styles": {"Background": "bg", "Value": "val"}, )" +
             v + "}",
         R"({"Value": "n2"})", R"({"Styles": {"Value": "val2"}})", R"({"MaxNumberOfLines": 6})"},
        {"SimpleProperty",
         R"({"Value": "12", "Caption": "c", "PlaceHolder": "p", "KeyboardType": "Number", "AlternateInput": "Barcode", "Styles": {"Background": "bg", "Caption": "cap", "Value": "val"}, )" +
             v + "}",
         R"({"Value": "13"})", R"({"Styles": {"Caption": "cap2"}})", R"({"KeyboardType": "Password"})"},
        {"Switch",
         R"({"Value": true, "Caption": "c", "Styles": {"Background": "bg", "Caption": "cap", "Switch": "sw"}, )" + v +
             "}",
         R"({"Value": false})", R"({"Styles": {"Switch": "sw2"}})", R"({"Caption": "c2"})"},
        {"DatePicker",
         R"({"Value": "2026-01-31T10:00:00Z", "Mode": "time", "Caption": "c", "PlaceHolder": "p", "Styles": {"Background": "bg", "Caption": "cap", "Value": "val"}, )" +
             v + "}",
         R"({"Value": "2026-02-01T11:30:00Z"})", R"({"Styles": {"Value": "val2"}})", R"({"Mode": "date"})"},
        {"DurationPicker",
         R"({"Value": 5400, "MinuteInterval": 15, "Caption": "c", "Styles": {"Background": "bg", "Caption": "cap", "Value": "val"}, )" +
             v + "}",
         R"({"Value": 600})", R"({"Styles": {"Caption": "cap2"}})", R"({"MinuteInterval": 5})"},
        {"SegmentedControl",
         R"({"Segments": ["A", "B", "C"], "Value": 1, "Caption": "c", "ApportionsSegmentWidthsByContent": true, "Styles": {"Background": "bg", "Caption": "cap"}, )" +
             v + "}",
         R"({"Value": 2})", R"({"Styles": {"Background": "bg2"}})", R"({"Segments": ["X", "Y"]})"},
        {"ListPicker",
         R"({"Caption": "c", "PickerItems": ["A", "B"], "Value": [1], "PickerPrompt": "pp", "Styles": {"Background": "bg", "Caption": "cap", "Value": "val"}, )" +
             v + "}",
         R"({"Value": [0]})", R"({"Styles": {"Value": "val2"}})", R"({"PickerPrompt": "pp2"})"},
        {"Filter",
         R"({"FilterItems": ["A", "B"], "Value": [0], "Caption": "c", "AllowMultipleSelection": true, "Styles": {"Background": "bg"}, )" +
             v + "}",
         R"({"Value": [1]})", R"({"Styles": {"Background": "bg2"}})", R"({"AllowEmptySelection": false})"},
        {"Sorter", R"({"SortByItems": ["A", "B"], "Value": [1], "Caption": "c", )" + v + "}", R"({"Value": [0]})",
         R"({"Styles": {"Caption": "cap2"}})", R"({"Caption": "c2"})"},
        {"Button", R"({"Title": "Go", "TextAlignment": "left", "Styles": {"Background": "bg", "Value": "val"}})",
         R"({"Value": "x"})", R"({"Styles": {"Value": "val2"}})", R"({"Title": "Stop"})", false},
        {"Attachment",
         R"({"AttachmentTitle": "Files", "AttachmentActionType": ["AddPhoto"], "Styles": {"Background": "bg"}})",
         R"({"Value": []})", R"({"Styles": {"Background": "bg2"}})", R"({"AttachmentTitle": "Docs"})", false},
        {"SignatureCapture",
         R"({"Caption": "Sign", "InitialStatusText": "Not signed", "Styles": {"Background": "bg", "Value": "val"}, )" +
             v + "}",
         R"({"Value": {"Strokes": 2}})", R"({"Styles": {"Value": "val2"}})", R"({"Caption": "Sign here"})"},
        {"Extension", R"({"Height": 50})", R"({"Value": 1})", R"({"Styles": {"Background": "bg"}})",
         R"({"Height": 60})", false},
    };
}

std::string rowJson(const char* kind, const std::string& name, const std::string& body) {
    std::string json = R"({"_Type": "Control.Type.FormCell.)" + std::string(kind) + R"(", "_Name": ")" + name + "\"";
    if (body != "{}")
        json += ", " + body.substr(1);
    else
        json += "}";
    return json;
}

// One owner of form cells on screen, showing one row at a time.
class Owner {
public:
    virtual ~Owner() = default;
    virtual void add(const core::Dictionary& row) = 0;
    virtual void show() = 0;
    virtual void update(const core::Dictionary& update, int hostRow) = 0;
    virtual void resend(const core::Array& rows) = 0;
    virtual std::shared_ptr<ui::UITableView> table() = 0;
    virtual int section() const = 0;

    std::string shownAt(int row) {
        auto cell = table()->cellForRow({section(), row});
        return cell ? shownCell(*cell) : "no cell";
    }
    void scrollTo(int row) { table()->scrollToRow({section(), row}, ui::UITableView::ScrollPosition::Top, false); }
    // The host's callback object of every row.
    const std::vector<testing::RecordingDelegate::Call>& hostHeard() const { return delegate_->calls; }

protected:
    std::shared_ptr<ui::UIWindow> window_ = [] {
        auto w = std::make_shared<ui::UIWindow>();
        w->makeKeyAndVisible();
        return w;
    }();
    std::shared_ptr<testing::RecordingDelegate> delegate_ = testing::reportingDelegate();
};

class FullScreen : public Owner {
public:
    explicit FullScreen(int rows) {
        testing::announce(*form_, {rows});
        form_->sectionNames = {""};
    }
    void add(const core::Dictionary& row) override { form_->addFormCell(row, delegate_); }
    void show() override {
        window_->setRootViewController(form_);
        dispatch::MainQueue::shared().runUntilIdle();
        table()->setRowsOnScreen(1);
        table()->layoutIfNeeded();
    }
    void update(const core::Dictionary& update, int hostRow) override { form_->updateFormCell(update, hostRow, 0); }
    void resend(const core::Array& rows) override { form_->updateFormCells(rows, std::nullopt); }
    std::shared_ptr<ui::UITableView> table() override { return form_->tableView(); }
    int section() const override { return 0; }

private:
    std::shared_ptr<FormCellContainerViewController> form_ = std::make_shared<FormCellContainerViewController>();
};

class Section : public Owner {
public:
    explicit Section(int rows) : section_(FormCellSection::make({{"itemCount", rows}}, nullptr)) {}
    void add(const core::Dictionary& row) override { section_->setFormCellSectionItem(row, delegate_); }
    void show() override {
        page_->initialize({section_});
        window_->setRootViewController(page_);
        dispatch::MainQueue::shared().runUntilIdle();
        table()->setRowsOnScreen(1);
        table()->layoutIfNeeded();
    }
    void update(const core::Dictionary& update, int hostRow) override { section_->updateFormCell(update, hostRow); }
    void resend(const core::Array& rows) override { section_->updateFormCells(rows); }
    std::shared_ptr<ui::UITableView> table() override { return page_->tableView(); }
    int section() const override { return 0; }

private:
    std::shared_ptr<FormCellSection> section_;
    std::shared_ptr<services::SectionedTableViewController> page_ =
        std::make_shared<services::SectionedTableViewController>();
};

std::unique_ptr<Owner> makeOwner(bool fullScreen, int rows) {
    if (fullScreen) return std::make_unique<FullScreen>(rows);
    return std::make_unique<Section>(rows);
}

class UpdateRule : public testing::FreshProcessTest {
protected:
    void SetUp() override {
        FreshProcessTest::SetUp();
        // Dates show the same on every machine and every run.
        dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>(1769853600));
        FormCellFactory::setLocale(foundation::Locale("en_US"));
    }
};

// ---- After a host update, what shows is what the stored parameters build.

TEST_F(UpdateRule, AnUpdatedCellShowsWhatTheRowShowsWhenBuiltAgain) {
    for (const bool fullScreen : {true, false}) {
        for (const KindCase& k : kinds()) {
            const std::pair<const char*, std::string> updates[] = {
                {"value", k.valueUpdate},
                {"style", k.styleUpdate},
                {"validation",
                 R"({"validationProperties": {"ValidationMessage": "Now this", "ValidationViewIsHidden": false}})"},
                {"own key", k.ownKeyUpdate},
                {"value and validation", k.valueUpdate.substr(0, k.valueUpdate.size() - 1) +
                                             R"(, "validationProperties": {"ValidationMessage": "Both"}})"}};
            for (const auto& [sort, update] : updates) {
                SCOPED_TRACE(std::string(fullScreen ? "form " : "section ") + k.kind + ", " + sort + " update " +
                             update);
                // The row, and a row of another kind to scroll to.
                auto owner = makeOwner(fullScreen, 2);
                owner->add(params(rowJson(k.kind, "row", k.row)));
                owner->add(params(rowJson(std::string(k.kind) == "Title" ? "Button" : "Title", "other", "{}")));
                owner->show();
                const std::string before = owner->shownAt(0);

                owner->update(params(update), 0);
                const std::string afterUpdate = owner->shownAt(0);
                owner->scrollTo(1);
                owner->scrollTo(0);
                EXPECT_EQ(afterUpdate, owner->shownAt(0));
                if (sort == std::string("value") && k.hasValue) {
                    EXPECT_NE(afterUpdate, before) << "the update shows";
                }
            }
        }
    }
}

// ---- A reused cell starts as a fresh cell does.

TEST_F(UpdateRule, ARowWithoutValueShowsInAReusedCellWhatItShowsInAFreshOne) {
    for (const bool fullScreen : {true, false}) {
        for (const KindCase& k : kinds()) {
            if (!k.hasValue) continue;
            SCOPED_TRACE(std::string(fullScreen ? "form " : "section ") + k.kind);
            // Two rows that differ only in the value: one with, one without.
            core::Dictionary with = params(rowJson(k.kind, "with", k.row));
            with.merge(params(k.valueUpdate));
            core::Dictionary without = params(rowJson(k.kind, "without", k.row));
            without.erase("Value");

            auto fresh = makeOwner(fullScreen, 1);
            fresh->add(without);
            fresh->show();
            // The row with a value first; its cell goes on to the row without.
            auto reused = makeOwner(fullScreen, 2);
            reused->add(with);
            reused->add(without);
            reused->show();
            reused->scrollTo(1);
            EXPECT_EQ(reused->shownAt(1), fresh->shownAt(0));
        }
    }
}

TEST_F(UpdateRule, AReusedSwitchStartsOffSoAPersonsOnIsReported) {
    for (const bool fullScreen : {true, false}) {
        auto owner = makeOwner(fullScreen, 2);
        owner->add(params(rowJson("Switch", "Notify", R"({"Value": true})")));
        owner->add(params(rowJson("Switch", "Archive", "{}")));
        owner->show();
        owner->scrollTo(1);
        auto cell = std::dynamic_pointer_cast<vessa::VUISwitchFormCell>(owner->table()->cellForRow({0, 1}));
        ASSERT_TRUE(cell);
        EXPECT_FALSE(cell->value());
        EXPECT_TRUE(cell->enterValue(true));
        EXPECT_TRUE(cell->value());
        ASSERT_EQ(owner->hostHeard().size(), 1u) << "the person's pick is a change the host hears of";
        EXPECT_EQ(owner->hostHeard()[0].args.at(0), core::Value(core::Dictionary{{"Value", true}}));
    }
}

// A reused cell's handler is pointed at the row the cell shows now: a
// person's pick there is stored in that row, never in the row it showed
// before, whose name the handler held.
TEST_F(UpdateRule, APickInAReusedListPickerCellIsStoredInTheRowItShowsNow) {
    for (const bool fullScreen : {true, false}) {
        SCOPED_TRACE(fullScreen ? "form" : "section");
        const std::string items = R"({"PickerItems": ["North", "South"], "Caption": "Region of the first delivery"})";
        auto owner = makeOwner(fullScreen, 2);
        owner->add(params(rowJson("ListPicker", "the first row, named at some length", items)));
        owner->add(params(rowJson("ListPicker", "second", items)));
        owner->show();
        auto first = owner->table()->cellForRow({0, 0});
        owner->scrollTo(1);
        auto cell = std::dynamic_pointer_cast<vessa::VUIListPickerFormCell>(owner->table()->cellForRow({0, 1}));
        ASSERT_TRUE(cell);
        EXPECT_EQ(std::static_pointer_cast<ui::UITableViewCell>(cell), first) << "the cell of the first row, reused";
        ASSERT_TRUE(cell->pick({1}));
        ASSERT_EQ(owner->hostHeard().size(), 1u);

        owner->scrollTo(0);
        EXPECT_NE(owner->shownAt(0).find("shows \"None\"  value [] "), std::string::npos) << owner->shownAt(0);
        owner->scrollTo(1);
        EXPECT_NE(owner->shownAt(1).find("shows \"South\"  value [1,]"), std::string::npos) << owner->shownAt(1);
    }
}

// The owner remembers the form of each row's list between builds: a row
// built again after a person's pick or a host's new list shows the row as
// it is now.
TEST_F(UpdateRule, AListPickerRowBuiltAgainShowsItsPickAndItsNewList) {
    for (const bool fullScreen : {true, false}) {
        SCOPED_TRACE(fullScreen ? "form" : "section");
        auto owner = makeOwner(fullScreen, 2);
        owner->add(params(rowJson("ListPicker", "region", R"({"PickerItems": ["North", "South"], "Value": [1]})")));
        owner->add(params(rowJson("Title", "other", "{}")));
        owner->show();
        auto rebuilt = [&] {
            owner->scrollTo(1);
            owner->scrollTo(0);
            return owner->shownAt(0);
        };
        auto cell = [&] {
            return std::dynamic_pointer_cast<vessa::VUIListPickerFormCell>(owner->table()->cellForRow({0, 0}));
        };
        EXPECT_NE(rebuilt().find("shows \"South\""), std::string::npos) << owner->shownAt(0);
        ASSERT_TRUE(cell() && cell()->pick({0}));
        EXPECT_NE(rebuilt().find("shows \"North\""), std::string::npos) << owner->shownAt(0);

        // The host sends its rows again, this one with a list of no one form
        // (which an update of the row would refuse).
        owner->resend({core::Value(params(rowJson("ListPicker", "region", R"({"PickerItems": ["East", 3]})"))),
                       core::Value(params(rowJson("Title", "other", "{}")))});
        EXPECT_NE(rebuilt().find("shows \"None\""), std::string::npos) << owner->shownAt(0);
        ASSERT_TRUE(cell());
        EXPECT_TRUE(cell()->valueOptions.empty()) << "a list of texts no more";

        owner->update(params(R"({"PickerItems": [{"DisplayValue": "East"}, {"DisplayValue": "West"}], "Value": [1]})"),
                      0);
        EXPECT_NE(rebuilt().find("shows \"West\""), std::string::npos) << owner->shownAt(0);
        ASSERT_TRUE(cell());
        EXPECT_NE(cell()->listPicker()->dataSource(), nullptr) << "dictionaries take the data source's road";

        owner->update(params(R"({"PickerItems": ["Up", "Down"], "Value": [1]})"), 0);
        EXPECT_NE(rebuilt().find("shows \"Down\""), std::string::npos) << owner->shownAt(0);
        ASSERT_TRUE(cell());
        EXPECT_EQ(cell()->listPicker()->dataSource(), nullptr);
    }
}

TEST_F(UpdateRule, ADateRowWithoutModeShowsNoTextEvenInACellReusedFromATimeRow) {
    for (const bool fullScreen : {true, false}) {
        SCOPED_TRACE(fullScreen ? "form" : "section");
        const core::Dictionary time =
            params(rowJson("DatePicker", "time", R"({"Mode": "time", "Value": "2026-01-31T11:00:00Z"})"));
        const core::Dictionary plain = params(rowJson("DatePicker", "plain", R"({"Value": "2026-01-31T11:00:00Z"})"));
        auto owner = makeOwner(fullScreen, 2);
        owner->add(time);
        owner->add(plain);
        owner->show();
        EXPECT_NE(owner->shownAt(0).find("shows \"11:00"), std::string::npos) << owner->shownAt(0);
        owner->scrollTo(1);
        EXPECT_NE(owner->shownAt(1).find("shows \"\""), std::string::npos) << owner->shownAt(1);

        owner->resend(core::Array{core::Value(time), core::Value(plain)});
        owner->scrollTo(0);
        owner->scrollTo(1);
        EXPECT_NE(owner->shownAt(1).find("shows \"\""), std::string::npos) << owner->shownAt(1);

        // A value update of the time row keeps its mode's text.
        owner->update(params(R"({"Value": "2026-01-31T12:00:00Z"})"), 1);
        owner->scrollTo(0);
        owner->update(params(R"({"Value": "2026-01-31T13:00:00Z"})"), 0);
        EXPECT_NE(owner->shownAt(0).find("shows \"1:00"), std::string::npos) << owner->shownAt(0);
    }
}

}  // namespace
}  // namespace trc::formcells
