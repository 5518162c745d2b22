// Row and section numbers as a host sends them, at every entry that takes
// one, for both owners of form cells: the full-screen form (its bridge and
// its own selectors) and the form cell section (its bridge and its own
// selectors). A number that is no integer, or names a row or section the
// owner does not have, addresses nothing and is logged; it is never cut down
// to a row the owner has.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "formcells/FormCellSection.h"
#include "formcells/FormTestSupport.h"
#include "host/HostRegistry.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Json.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "services/BaseSection.h"
#include "services/SectionedTableViewController.h"

using namespace trc;
using formcells::testing::CountingSource;
using formcells::testing::logged;

namespace {

constexpr std::int64_t kTwoTo31 = std::int64_t{1} << 31;
constexpr std::int64_t kTwoTo32 = std::int64_t{1} << 32;

// Numbers that name no row or section of a two-row, two-section form, with
// the row a 32-bit narrowing would make of them in the comment.
std::vector<core::Value> numbersThatAddressNothing() {
    return {core::Value(kTwoTo31),                                  // -2^31
            core::Value(-kTwoTo31 - 1),                             // 2^31 - 1
            core::Value(kTwoTo32),                                  // 0
            core::Value(kTwoTo32 + 1),                              // 1
            core::Value(-kTwoTo32),                                 // 0
            core::Value(-kTwoTo32 + 1),                             // 1
            core::Value(std::numeric_limits<std::int64_t>::max()),  // -1
            core::Value(std::numeric_limits<std::int64_t>::min()),  // 0
            core::Value(std::int64_t{2}),                           // past the cells
            core::Value(std::int64_t{-1}),
            core::Value(1.5),           // 1, truncated
            core::Value(0.25),          // 0, truncated
            core::Value(4294967297.0),  // 1
            core::Value(std::nan("")),
            core::Value(std::numeric_limits<double>::infinity()),
            core::Value(true),
            core::Value("1")};
}

core::Value object(const std::string& className) {
    return core::Value(core::ClassRegistry::shared().find(className)->instantiate());
}

core::Value send(const core::Value& receiver, const char* selector, std::vector<core::Value> args) {
    return receiver.ifObject()->perform(selector, core::Args(args));
}

core::Value property(const core::Value& receiver, const char* key) { return receiver.ifObject()->valueForKey(key); }

core::Value json(const std::string& text) { return core::Json::parse(text); }

// The kinds of row an entry acts on: text rows take the focus and updates,
// list pickers hear "no more items".
enum class Rows { Text, Pickers };

class HostNumbers : public formcells::testing::FreshProcessTest {
protected:
    void SetUp() override {
        FreshProcessTest::SetUp();
        host::HostRegistry::registerAll();
        window->makeKeyAndVisible();
        dispatch::MainQueue::shared().runUntilIdle();
    }

    static std::string cellJson(Rows rows, const std::string& name) {
        if (rows == Rows::Text) {
            return R"({"_Type": "Control.Type.FormCell.SimpleProperty", "_Name": ")" + name + R"(", "Value": ")" +
                   name + "\"}";
        }
        return R"({"_Type": "Control.Type.FormCell.ListPicker", "_Name": ")" + name +
               R"(", "PickerItems": [{"DisplayValue": "x"}]})";
    }

    // A full-screen form of two sections of two rows each, on screen.
    void showForm(Rows rows) {
        sources.clear();
        bridge = object("FormCellContainerBridge");
        owner = send(bridge, "createWithParams:",
                     {json(R"({"numberOfSections": 2, "numberOfRowsInSection": [2, 2], "sectionNames": ["", ""]})")});
        for (const char* name : {"a", "b", "c", "d"}) {
            send(bridge,
                 "populateController:withParams:andBridge:", {owner, json(cellJson(rows, name)), core::Value()});
        }
        auto controller = owner.ifObjectOf<ui::UIViewController>();
        window->setRootViewController(controller);
        settle();
        table = std::dynamic_pointer_cast<ui::UITableViewController>(controller)->tableView();
        countLoadingRows();
    }

    // A form cell section of two rows on a page of its own, on screen.
    void showSection(Rows rows) {
        sources.clear();
        bridge = object("SectionBridge");
        owner = send(bridge, "create:callback:", {json(R"({"type": "Section.Type.FormCell", "itemCount": 2})"), {}});
        for (const char* name : {"a", "b"}) {
            send(bridge, "setFormCellSectionItem:callback:", {json(cellJson(rows, name)), core::Value()});
        }
        auto page = send(object("SectionedTableBridge"), "create:", {core::Value(core::Array{bridge})});
        auto controller = page.ifObjectOf<services::SectionedTableViewController>();
        window->setRootViewController(controller);
        settle();
        table = controller->tableView();
        countLoadingRows();
    }

    void countLoadingRows() {
        table->layoutIfNeeded();
        for (const auto& cell : table->visibleCells()) {
            if (auto picker = std::dynamic_pointer_cast<vessa::VUIListPickerFormCell>(cell)) {
                sources.push_back(std::make_shared<CountingSource>());
                picker->listPicker()->setDataSource(sources.back());
            }
        }
    }

    void settle() { dispatch::MainQueue::shared().advance(2); }

    // What an entry could have changed: the stored rows, the focus, the
    // loading rows told to go.
    std::string state() {
        settle();
        core::Value rows = owner.ifObjectOf<formcells::FormCellSection>() ? send(owner, "getCellItems", {})
                                                                          : send(owner, "getCellTypesForSection", {});
        std::string text = core::Json::write(rows);
        text += window->firstResponder() ? " focused" : " unfocused";
        for (const auto& s : sources) text += " " + std::to_string(s->hidden);
        return text;
    }

    // Sends the entry with each number; none may change anything, and each
    // must be logged. A row the owner has changes what the entry changes.
    template <class Send>
    void expectOnlyRealRowsAddressed(const char* entry, Send sendWith) {
        const std::string before = state();
        for (const auto& n : numbersThatAddressNothing()) {
            SCOPED_TRACE(std::string(entry) + " with " + n.description());
            core::internal::Logging::clearCaptured();
            sendWith(n);
            EXPECT_EQ(state(), before);
            EXPECT_TRUE(logged(core::Severity::warn, entry)) << "the refusal is logged";
        }
        SCOPED_TRACE(std::string(entry) + " with 1.0");
        sendWith(core::Value(1.0));
        EXPECT_NE(state(), before) << "a whole double is a row";
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    core::Value bridge;
    core::Value owner;
    std::shared_ptr<ui::UITableView> table;
    std::vector<std::shared_ptr<CountingSource>> sources;
};

const core::Value kUpdate = core::Json::parse(R"({"Value": "changed"})");
const core::Value kZero(std::int64_t{0});

// ---- Every entry of both owners, through the bridge and to the owner itself.

TEST_F(HostNumbers, EveryEntryAddressesOnlyRealRowsAndSections) {
    struct Entry {
        bool fullScreen;
        Rows rows;
        const char* ownSelector;
        const char* bridgeSelector;
        bool withUpdate;
    };
    for (const Entry& e :
         {Entry{true, Rows::Text, "updateFormCell:cellRow:cellSection:", "updateCell:withParams:row:section:", true},
          Entry{true, Rows::Text, "setFocus:cellSection:", "setFocus:withRow:andSection:", false},
          Entry{true, Rows::Pickers,
                "hideLazyLoadingIndicator:cellSection:", "hideLazyLoadingIndicator:withRow:andSection:", false},
          Entry{false, Rows::Text, "updateFormCellWithParams:row:", "updateCell:row:", true},
          Entry{false, Rows::Text, "setFocusWithRow:", "setFocus:", false},
          Entry{false, Rows::Pickers, "hideLazyLoadingIndicatorWithRow:", "hideLazyLoadingIndicator:", false}}) {
        // Through the bridge, then to the owner itself; the full-screen
        // form takes the number as its row, then as its section.
        for (int route = 0; route < (e.fullScreen ? 4 : 2); ++route) {
            const bool throughBridge = route % 2 == 0;
            const bool asSection = route >= 2;
            e.fullScreen ? showForm(e.rows) : showSection(e.rows);
            expectOnlyRealRowsAddressed(e.ownSelector, [&](const core::Value& n) {
                std::vector<core::Value> args;
                if (throughBridge && e.fullScreen) args.push_back(owner);
                if (e.withUpdate) args.push_back(kUpdate);
                args.push_back(asSection ? kZero : n);
                if (e.fullScreen) args.push_back(asSection ? n : kZero);
                send(throughBridge ? bridge : owner, throughBridge ? e.bridgeSelector : e.ownSelector, args);
            });
        }
    }
}

// ---- Announced counts: capped, never wrapped.

TEST_F(HostNumbers, AnnouncedCountsBeyondTheCapAreRefusedAndTheFormKeepsItsOwn) {
    auto formBridge = object("FormCellContainerBridge");
    for (const char* params : {R"({"numberOfSections": 2147483647, "numberOfRowsInSection": [1]})",
                               R"({"numberOfSections": 100001})", R"({"numberOfSections": 4294967297})",
                               R"({"numberOfSections": 1.5})", R"({"numberOfRowsInSection": [1, 100001]})",
                               R"({"numberOfRowsInSection": [-4294967296]})", R"({"numberOfRowsInSection": [0.5]})"}) {
        SCOPED_TRACE(params);
        core::internal::Logging::clearCaptured();
        auto form = send(formBridge, "createWithParams:", {json(params)});
        EXPECT_TRUE(logged(core::Severity::warn, "createWithParams:"));
        const core::Value sections = property(form, "numberOfSections");
        EXPECT_LE(*sections.ifInteger(), 1);
        const core::Value counts = property(form, "numberOfRowsInSection");
        EXPECT_LE(counts.ifArray()->size(), 1u);
        for (const auto& c : *counts.ifArray()) EXPECT_EQ(c, core::Value(1));
    }

    // The cap itself is a count a form may have; the table builds it quickly.
    auto form = send(formBridge, "createWithParams:", {json(R"({"numberOfSections": 100000})")});
    EXPECT_EQ(property(form, "numberOfSections"), core::Value(100000));
    send(form, "setNumberOfSections:", {core::Value(kTwoTo32)});
    send(form, "setNumberOfRowsInSection:", {core::Value(core::Array(100001, core::Value(1)))});
    EXPECT_EQ(property(form, "numberOfSections"), core::Value(100000)) << "the form keeps what it had";
    EXPECT_EQ(property(form, "numberOfRowsInSection"), core::Value(core::Array{}));
}

TEST_F(HostNumbers, NegativeCountsNeverWrapTheRunningSum) {
    auto formBridge = object("FormCellContainerBridge");
    auto form =
        send(formBridge,
             "createWithParams:", {json(R"({"numberOfSections": 2, "numberOfRowsInSection": [-2147483648, -1]})")});
    for (const char* name : {"a", "b"}) {
        send(formBridge, "populateController:withParams:andBridge:",
             {form, json(R"({"_Type": "Control.Type.FormCell.Title", "_Name": ")" + std::string(name) + "\"}"), {}});
    }
    const core::Value cells = send(form, "getCellTypesForSection", {});
    EXPECT_EQ(cells.ifDictionary()->size(), 1u);
    EXPECT_EQ(cells.ifDictionary()->get("1").ifArray()->size(), 2u)
        << "cells past every count go to the last announced section";
}

}  // namespace
