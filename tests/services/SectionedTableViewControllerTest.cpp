#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "onboarding/OnboardingCustomization.h"
#include "platform/core/internal/Logging.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "services/BaseSection.h"
#include "services/SectionFactory.h"
#include "services/SectionedTableViewController.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using services::BaseSection;
using services::SectionedTableViewController;

namespace {

// A section with a fixed number of rows that notes what the page asks of it.
class FakeSection : public BaseSection {
public:
    int rows = 0;
    int maxItemCountSeenInSetData = -100;
    int registrations = 0;
    std::vector<std::string> taps;

    void setData(const core::Dictionary& params) override {
        BaseSection::setData(params);
        if (const core::Value* n = params.find("itemCount"); n && n->isInteger()) {
            maxItemCount = static_cast<int>(*n->ifInteger());
        }
        if (const core::Value* n = params.find("rows"); n && n->isInteger()) rows = static_cast<int>(*n->ifInteger());
        maxItemCountSeenInSetData = maxItemCount;
    }
    int numberOfRows() const override { return rows; }
    void registerCells(ui::UITableView& table) override {
        ++registrations;
        if (!table.registeredClassName("Fake")) table.registerClass<ui::UITableViewCell>("Fake");
    }
    std::shared_ptr<ui::UITableViewCell> cellForRow(
        ui::UITableView& table, const ui::IndexPath& p,
        const std::shared_ptr<SectionedTableViewController>& page) override {
        EXPECT_EQ(page.get(), parentTable().get());
        auto cell = table.dequeueReusableCell("Fake", p);
        cell->textLabel()->text = "s" + std::to_string(sectionIndex) + "r" + std::to_string(p.row);
        return cell;
    }
    std::optional<double> heightForRow(int row) const override {
        return row == 1 ? std::optional<double>(120) : std::nullopt;
    }
    void didSelectRow(int row, const std::shared_ptr<ui::UITableViewCell>& cell) override {
        taps.push_back(std::to_string(row) + ":" + (cell ? *cell->textLabel()->text : "none"));
    }
};

std::shared_ptr<FakeSection> fake(int rows, core::Dictionary params = {}) {
    params.set("rows", rows);
    return BaseSection::make<FakeSection>(params, nullptr);
}

class SectionedPage : public ::testing::Test {
protected:
    void SetUp() override {
        dispatch::MainQueue::resetShared();
        core::internal::Logging::clearCaptured();
    }
    std::shared_ptr<SectionedTableViewController> page = std::make_shared<SectionedTableViewController>();
    std::shared_ptr<ui::UITableView> show() {
        auto table = page->tableView();
        table->layoutSubviews();
        return table;
    }
};

bool logged(const std::string& part) {
    for (const auto& r : core::internal::Logging::captured()) {
        if (r.message.find(part) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

TEST(BaseSectionCreation, SetDataOverrideRunsOnTheFinishedSectionDuringMake) {
    auto callback = std::make_shared<core::Object>();
    auto s = BaseSection::make<FakeSection>({{"itemCount", 4}}, callback);
    EXPECT_EQ(s->maxItemCountSeenInSetData, 4) << "the subclass's setData ran inside make";
    EXPECT_EQ(s->maxItemCount, 4);
    EXPECT_EQ(s->sectionIndex, -1);
    EXPECT_EQ(s->parentTable(), nullptr);
    EXPECT_EQ(s->callback(), callback);

    auto plain = BaseSection::make<FakeSection>({}, nullptr);
    EXPECT_EQ(plain->maxItemCountSeenInSetData, 1) << "base fields are at their defaults before setData";
}

TEST(SectionFactoryTypes, MakesRegisteredTypesAndLogsTheRest) {
    services::SectionFactory::registerSectionType(
        "Section.Type.Test.Fake", [](const core::Dictionary& params, std::shared_ptr<core::Object> callback) {
            return BaseSection::make<FakeSection>(params, std::move(callback));
        });
    core::internal::Logging::clearCaptured();
    auto s = services::SectionFactory::createSection({{"type", "Section.Type.Test.Fake"}, {"itemCount", 2}}, nullptr);
    ASSERT_NE(std::dynamic_pointer_cast<FakeSection>(s), nullptr);
    EXPECT_EQ(s->maxItemCount, 2);

    EXPECT_EQ(services::SectionFactory::createSection({{"type", "Section.Type.Nothing"}}, nullptr), nullptr);
    EXPECT_TRUE(logged("Section.Type.Nothing"));
    EXPECT_EQ(services::SectionFactory::createSection({{"type", 7}}, nullptr), nullptr);
    EXPECT_EQ(services::SectionFactory::createSection({}, nullptr), nullptr);
    EXPECT_TRUE(logged("no text \"type\""));
}

TEST_F(SectionedPage, PlacesSectionsAndShowsTheirRows) {
    auto a = fake(2);
    auto hidden = fake(3, {{"itemCount", 0}});
    auto b = fake(3);
    page->initialize({a, hidden, b});
    EXPECT_EQ(a->sectionIndex, 0);
    EXPECT_EQ(b->sectionIndex, 2);
    EXPECT_EQ(b->parentTable(), page);

    auto table = show();
    EXPECT_EQ(table->rowCounts(), (std::vector<int>{2, 0, 3})) << "a section sized 0 shows no row";
    EXPECT_EQ(*table->cellForRow({2, 1})->textLabel()->text, "s2r1");
    EXPECT_EQ(table->heightForRow({0, 1}), 120);
    EXPECT_NE(table->heightForRow({0, 0}), 120) << "no height of the section's own: the page's default";
    EXPECT_GE(a->registrations, 1) << "registered before the first row was built";

    EXPECT_TRUE(table->selectRow({2, 0}));
    EXPECT_EQ(b->taps, std::vector<std::string>{"0:s2r0"});
    EXPECT_TRUE(a->taps.empty());
}

TEST_F(SectionedPage, ReloadsOnlyTheSectionItShowsAndNothingForAStranger) {
    auto a = fake(1);
    auto b = fake(1);
    page->initialize({a, b});
    auto table = show();
    table->clearUpdateLog();
    b->rows = 2;
    page->reloadSection(*b);
    EXPECT_EQ(table->updateLog(), std::vector<std::string>{"reloadSections 1 automatic"});
    EXPECT_EQ(table->rowCounts(), (std::vector<int>{1, 2}));

    table->clearUpdateLog();
    auto stranger = fake(1);
    page->reloadSection(*stranger);
    EXPECT_TRUE(table->updateLog().empty());
}

TEST_F(SectionedPage, SectionsOutliveNoPageAndLeaveAnOldPage) {
    auto a = fake(1);
    std::weak_ptr<SectionedTableViewController> watch = page;
    page->initialize({a});
    show();

    auto b = fake(1);
    page->initialize({b});
    EXPECT_EQ(a->parentTable(), nullptr) << "a section taken off the page forgets it";

    page.reset();
    EXPECT_TRUE(watch.expired()) << "sections do not keep their page alive";
    EXPECT_EQ(b->parentTable(), nullptr);
}

TEST_F(SectionedPage, AlertButtonTakesTheHostsOkTextOnceTheHostSetsTexts) {
    core::ProcessStateReset::resetAll();
    onboarding::OnboardingCustomization::classInfo();
    page->showAlert(std::string("Saved"), std::nullopt);
    auto alert = std::dynamic_pointer_cast<ui::UIAlertController>(page->presentedViewController());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title, "Saved");
    EXPECT_FALSE(alert->message.has_value());
    EXPECT_EQ(alert->actionTitles(), std::vector<std::string>{"OK"}) << "no onboarding texts set yet";

    onboarding::OnboardingCustomization::update({{"okButtonString", "Fine"}});
    EXPECT_EQ(SectionedTableViewController::okButtonTitle(), "Fine");
    onboarding::OnboardingCustomization::update({});
    EXPECT_EQ(SectionedTableViewController::okButtonTitle(), "Ok") << "the onboarding texts' own default";
    core::ProcessStateReset::resetAll();
}
