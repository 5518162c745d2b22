// Locale identifiers as a host sends them, at every entry that takes one:
// the full-screen form's "locale" at creation and its setLocale:, and the
// form cell section's "locale" at creation and on redraw. An identifier that
// makes no valid locale would crash the process in ICU's date formatter once
// a date row with a time is shown; it is refused with a warning instead and
// the shared locale stays as it was.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "formcells/FormCellFactory.h"
#include "formcells/FormTestSupport.h"
#include "host/HostRegistry.h"
#include "platform/core/ClassRegistry.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewController.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIDatePickerFormCell.h"

using namespace trc;
using formcells::FormCellFactory;

namespace {

// Identifiers ICU marks bogus, or whose name outgrows ICU's buffers.
std::vector<std::string> identifiersThatMakeNoLocale() {
    std::string keywords = "en_US@";
    for (int i = 0; i < 40; ++i) keywords += "k" + std::to_string(i) + "=v;";
    return {"en_US@calendar=",
            "en@currency=",
            "en@=gregorian",
            "@calendar=",
            "en@calendar=;currency=",
            std::string(157, 'a'),
            std::string(400, 'e'),
            "en_" + std::string(153, 'X'),  // 156 characters; ICU's name of it has 157
            "en_US@currency=" + std::string(142, 'x'),
            keywords,
            std::string("en\0US", 5),
            "abcdefghijkl"};
}

// A "warn" line under "ZEL.TRC" holding part.
bool warned(const std::string& part) {
    for (const auto& r : core::internal::Logging::captured())
        if (r.logger == core::SharedLoggerManager::kTRCLogger && r.severity == core::Severity::warn &&
            r.message.find(part) != std::string::npos)
            return true;
    return false;
}

core::Value object(const std::string& className) {
    return core::Value(core::ClassRegistry::shared().find(className)->instantiate());
}

core::Value send(const core::Value& receiver, const char* selector, std::vector<core::Value> args) {
    return receiver.ifObject()->perform(selector, core::Args(args));
}

class HostLocales : public formcells::testing::FreshProcessTest {
protected:
    void SetUp() override {
        FreshProcessTest::SetUp();
        host::HostRegistry::registerAll();
        window->makeKeyAndVisible();
    }

    static void settle() { dispatch::MainQueue::shared().advance(1); }

    // The text a date-and-time row shows in the shared locale.
    std::string dateRowText() {
        auto bridge = object("FormCellContainerBridge");
        auto form =
            send(bridge,
                 "createWithParams:", {core::Json::parse(R"({"numberOfSections": 1, "numberOfRowsInSection": [1]})")});
        send(bridge, "populateController:withParams:andBridge:",
             {form,
              core::Json::parse(R"({"_Type": "Control.Type.FormCell.DatePicker", "_Name": "due", "Mode": "datetime",
                                    "Value": "2026-01-31T10:00:00Z"})"),
              core::Value()});
        auto controller = form.ifObjectOf<ui::UITableViewController>();
        window->setRootViewController(controller);
        settle();
        auto table = controller->tableView();
        table->layoutIfNeeded();
        auto cell = std::dynamic_pointer_cast<vessa::VUIDatePickerFormCell>(table->visibleCells().at(0));
        return cell ? cell->valueLabel()->text.value_or("no text") : std::string("no date cell");
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
};

TEST_F(HostLocales, AnIdentifierThatMakesNoLocaleIsRefusedAtEveryEntryAndTheLocaleStays) {
    auto form = send(object("FormCellContainerBridge"), "createWithParams:", {core::Value(core::Dictionary{})});
    auto sections = object("SectionBridge");
    send(sections, "create:callback:",
         {core::Value(core::Dictionary{{"type", "Section.Type.FormCell"}, {"itemCount", 1}}), core::Value()});
    struct Entry {
        const char* name;  // as the warning names it
        std::function<void(const std::string&)> sendWith;
    };
    const std::vector<Entry> entries = {
        {"createWithParams:",
         [](const std::string& id) {
             send(object("FormCellContainerBridge"),
                  "createWithParams:", {core::Value(core::Dictionary{{"locale", id}})});
         }},
        {"setLocale:", [&](const std::string& id) { send(form, "setLocale:", {core::Value(id)}); }},
        {"FormCellSection \"locale\"",
         [](const std::string& id) {
             send(object("SectionBridge"), "create:callback:",
                  {core::Value(core::Dictionary{{"type", "Section.Type.FormCell"}, {"locale", id}}), core::Value()});
         }},
        {"FormCellSection \"locale\"",
         [&](const std::string& id) {
             send(sections, "redraw:", {core::Value(core::Dictionary{{"locale", id}})});
             settle();
         }},
    };
    const std::string germanText = [&] {
        FormCellFactory::setLocale(foundation::Locale("de_DE"));
        return dateRowText();
    }();
    EXPECT_EQ(germanText, "31.01.2026, 10:00");
    for (const Entry& entry : entries) {
        for (const std::string& id : identifiersThatMakeNoLocale()) {
            SCOPED_TRACE(std::string(entry.name) + " with " + std::to_string(id.size()) +
                         " bytes: " + id.substr(0, 30));
            FormCellFactory::setLocale(foundation::Locale("de_DE"));
            core::internal::Logging::clearCaptured();
            entry.sendWith(id);
            EXPECT_EQ(FormCellFactory::locale().identifier(), "de_DE");
            EXPECT_TRUE(warned(std::string(entry.name) + ": ")) << "refused with a warning";
            EXPECT_TRUE(warned("makes no valid locale; the locale stays de_DE"));
            EXPECT_EQ(dateRowText(), germanText);
        }
        SCOPED_TRACE(entry.name);
        core::internal::Logging::clearCaptured();
        entry.sendWith("fr_FR");
        EXPECT_EQ(FormCellFactory::locale().identifier(), "fr_FR");
        EXPECT_FALSE(warned("locale"));
        entry.sendWith("");
        EXPECT_EQ(FormCellFactory::locale().identifier(), "fr_FR") << "an empty identifier names no locale";
    }
}

}  // namespace
