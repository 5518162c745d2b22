#include "formcells/ListPickerDataSource.h"

#include <gtest/gtest.h>

#include "formcells/FormTestSupport.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "platform/vessa/VUIObjectTableViewCell.h"
#include "services/ActivityIndicatorView.h"
#include "services/Search.h"

namespace trc::formcells {
namespace {

using testing::RecordingDelegate;
using Items = ListPickerDataSource::Items;

Items items(const std::string& json) {
    Items out;
    const core::Value list = core::Json::parse(json);
    for (const auto& v : *list.ifArray()) out.push_back(*v.ifDictionary());
    return out;
}

// A list picker cell whose picker a data source feeds, opened on a screen.
class ListPickerSource : public testing::FreshProcessTest {
protected:
    void make(const std::string& rows, bool byIndex, const std::string& settings = "{}") {
        auto search = std::make_shared<services::Search>(testing::params(settings));
        source = byIndex ? std::make_shared<ListPickerDataSource>(cell, items(rows), std::vector<int>{}, host, search)
                         : std::make_shared<ListPickerDataSource>(cell, items(rows), Items{}, host, search);
        auto picker = cell->listPicker();
        picker->setDataSource(source);
        picker->setSearchResultsUpdating(source);
        picker->setSearchBarDelegate(source);
        picker->registerClass<vessa::VUIObjectTableViewCell>(vessa::VUIObjectTableViewCell::reuseIdentifier());
    }
    void open(int rowsOnScreen) {
        screen = std::make_shared<vessa::VUIListPickerTableViewController>(cell->listPicker());
        table = screen->tableView();
        table->setRowsOnScreen(rowsOnScreen);
        table->layoutIfNeeded();
    }
    // The rows on screen by their texts; the loading row shows as "...".
    std::string shown() const {
        std::string out;
        for (const auto& cell : table->visibleCells()) {
            if (!out.empty()) out += " ";
            out += !cell->isUserInteractionEnabled ? "..." : cell->textLabel()->text.value_or("-");
        }
        return out;
    }
    std::vector<std::string> heard() const {
        std::vector<std::string> out;
        for (const auto& call : host->calls) {
            out.push_back(call.selector + (call.args.empty() ? "" : " " + call.args[0].description()));
        }
        return out;
    }
    static void settle() { dispatch::MainQueue::shared().runUntilIdle(); }

    std::shared_ptr<vessa::VUIListPickerFormCell> cell = std::make_shared<vessa::VUIListPickerFormCell>();
    std::shared_ptr<RecordingDelegate> host =
        std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{"loadMoreItems", "searchUpdated"});
    std::shared_ptr<ListPickerDataSource> source;
    std::shared_ptr<vessa::VUIListPickerTableViewController> screen;
    std::shared_ptr<ui::UITableView> table;
};

// ---- Rows and selection texts -----------------------------------------------------------

class ListPickerRows : public ListPickerSource {};

TEST_F(ListPickerRows, DrawTextObjectAndWholeItemRows) {
    make(R"([{"UniqueId": "a", "DisplayValue": "Apple"},
             {"UniqueId": "b", "DisplayValue": {"Title": "Banana", "Subhead": "yellow"}},
             {"UniqueId": "c", "Title": "Cherry", "StatusText": "ripe"},
             {"UniqueId": "d", "DisplayValue": 4}])",
         false);
    open(10);
    EXPECT_EQ(shown(), "Apple Banana Cherry -");
    auto banana = std::dynamic_pointer_cast<vessa::VUIObjectTableViewCell>(table->cellForRow({0, 1}));
    ASSERT_NE(banana, nullptr);
    EXPECT_EQ(banana->subheadlineText, "yellow");
    EXPECT_EQ(std::dynamic_pointer_cast<vessa::VUIObjectTableViewCell>(table->cellForRow({0, 2}))->statusText, "ripe");
    EXPECT_EQ(source->indexForUniqueIdentifier(*table, "c"), 2);
    EXPECT_EQ(source->indexForUniqueIdentifier(*table, "zz"), -1);
    EXPECT_EQ(source->uniqueIdentifierForItemAt(*table, 7), "");
}

TEST_F(ListPickerRows, DescribeItemsAndIndexesInRowOrder) {
    make(R"([{"DisplayValue": "Apple"}, {"DisplayValue": {"Title": "Banana\r\n"}}, {"DisplayValue": "Cherry"},
             {"Title": "Date"}, {"DisplayValue": 5}])",
         true);
    EXPECT_EQ(ListPickerDataSource::descriptionForSelectedItems(items(R"([{"DisplayValue": "Apple"},
                   {"DisplayValue": {"Subhead": "x", "Title": "Banana\r\n"}}, {"DisplayValue": 5}])")),
              "Apple, Banana, ");
    EXPECT_EQ(source->descriptionForSelectedIndexes({2, 0}), "Apple, Cherry");
    EXPECT_EQ(source->descriptionForSelectedIndexes({4, 3, 9}), "Date") << "no text and out of range leave it";
    EXPECT_EQ(source->descriptionForSelectedIndexes({}), "");
}

TEST_F(ListPickerRows, TheSelectionFollowsPicksAndRemembersItemsChosenAmongResults) {
    make(R"([{"UniqueId": "a", "DisplayValue": "Apple"}, {"UniqueId": "b", "Title": "Banana"}])", false,
         R"({"Search": {"Delay": 100}})");
    source->updateSelectedData({"a", "b"});
    EXPECT_EQ(source->selectedData().size(), 2u);
    EXPECT_EQ(source->selectedData()[1].get("Title"), core::Value("Banana")) << "a whole-item row is kept whole";
    source->updateSelectedData({"b"});
    ASSERT_EQ(source->selectedData().size(), 1u);

    // While the host searches, a chosen result is remembered before the rows change.
    cell->listPicker()->search("ap");
    EXPECT_TRUE(source->filteredDataSourceContainsItemWithUniqueIdentifier(*cell->listPicker(), "a"));
    source->update(items(R"([{"UniqueId": "z", "DisplayValue": "Zucchini"}])"));
    open(5);
    EXPECT_EQ(source->cellForItemWithUniqueIdentifier(*table, "a")->textLabel()->text, "Apple");
    EXPECT_EQ(source->descriptionOfSelectedUniqueIdentifiers({"a", "z"}), "Apple, Zucchini");
    EXPECT_FALSE(source->filteredDataSourceContainsItemWithUniqueIdentifier(*cell->listPicker(), "nope"));
}

// ---- Local search of a static collection ---------------------------------------------------

class ListPickerLocalSearch : public ListPickerSource {};

TEST_F(ListPickerLocalSearch, MatchesAnyCaseInsideWordsOfTextRows) {
    make(R"([{"DisplayValue": "Pineapple"}, {"DisplayValue": "Pear"}, {"DisplayValue": "Grape"}])", true);
    open(10);
    cell->listPicker()->search("APP");
    EXPECT_EQ(shown(), "Pineapple");
    cell->listPicker()->search("");
    EXPECT_EQ(shown(), "Pineapple Pear Grape");
    EXPECT_TRUE(host->calls.empty()) << "the host is never asked";
}

TEST_F(ListPickerLocalSearch, LooksOnlyAtTheSearchKeysOfObjectRows) {
    make(R"([{"DisplayValue": {"Title": "One", "Subhead": "ÄPFEL"}},
             {"DisplayValue": {"Title": "Two", "DetailImage": "äpfel.png", "Note": "äpfel"}},
             {"Title": "Three", "Footnote": "äpfelkuchen"}])",
         true);
    open(10);
    cell->listPicker()->search("Äpfel");
    EXPECT_EQ(shown(), "One Three");
}

TEST_F(ListPickerLocalSearch, EqualTextsKeepTheirOwnRowsAndPicksReportThem) {
    make(R"([{"Title": "no display value"}, {"DisplayValue": "Apple"}, {"DisplayValue": "Apple"}])", true);
    std::vector<int> reported;
    cell->onChangeHandler = [&](const std::vector<int>& v) { reported = v; };
    open(10);
    cell->listPicker()->search("apple");
    EXPECT_EQ(source->indexesOfFilteredChoices(), (std::vector<int>{1, 2}));
    const int reloads = cell->listPicker()->reloadDataCount();
    cell->listPicker()->search("apple");
    EXPECT_EQ(cell->listPicker()->reloadDataCount(), reloads + 1) << "the same text only reloads";
    ASSERT_TRUE(cell->listPicker()->selectRow(1));
    EXPECT_EQ(reported, std::vector<int>{2});
    EXPECT_FALSE(cell->listPicker()->selectRow(5)) << "no such result";
}

TEST_F(ListPickerLocalSearch, NewRowsAreFilteredAtOnceAndNeverPointPastTheEnd) {
    make(R"([{"DisplayValue": "ab"}, {"DisplayValue": "b"}, {"DisplayValue": "abc"}])", true);
    open(10);
    cell->listPicker()->search("ab");
    source->update(items(R"([{"DisplayValue": "cab"}])"));
    cell->listPicker()->reloadData();
    EXPECT_EQ(shown(), "cab");
    EXPECT_EQ(source->cellForRowAt(*table, 3, true)->textLabel()->text, std::nullopt) << "out of range: empty";
}

TEST_F(ListPickerLocalSearch, TheSearchButtonSearchesAtOnce) {
    make(R"([{"DisplayValue": "Kiwi"}, {"DisplayValue": "Lime"}])", true);
    open(10);
    auto bar = cell->listPicker()->searchBar();
    bar->text = "li";
    bar->pressSearchButton();
    EXPECT_EQ(shown(), "Lime");
    bar->text.reset();
    bar->pressSearchButton();
    EXPECT_EQ(shown(), "Lime") << "no text: the button only ends editing";
}

// ---- Host search of a dynamic list ------------------------------------------------------------

class ListPickerHostSearch : public ListPickerSource {};

TEST_F(ListPickerHostSearch, AHostThatDoesNotAnswerOrAnUnusableTimerHearsNothing) {
    host = std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{"searchUpdated:"});
    make(R"([{"UniqueId": "a", "DisplayValue": "Apple"}])", false);
    cell->listPicker()->search("apple");
    settle();
    EXPECT_TRUE(host->calls.empty());
    source->callSearchCallback(core::Value("not a timer"));
    source->perform(ListPickerDataSource::kCallSearchCallbackSelector, core::Value());
}

// ---- Paging -----------------------------------------------------------------------------------

class ListPickerPaging : public ListPickerSource {
protected:
    void makePaged(bool loadingRow) {
        make(R"([{"UniqueId": "a", "DisplayValue": "A"}, {"UniqueId": "b", "DisplayValue": "B"},
                 {"UniqueId": "c", "DisplayValue": "C"}])",
             false);
        source->setDataPagingData(
            testing::params(std::string(R"({"LoadingIndicatorText": "More...", "ShowLoadingIndicator": )") +
                            (loadingRow ? "true" : "false") + "}"));
    }
};

TEST_F(ListPickerPaging, TheLastRowAsksForMoreAndShowsALoadingRowUntilTheHostHidesIt) {
    makePaged(true);
    open(10);
    EXPECT_EQ(source->data().size(), 4u);
    EXPECT_EQ(source->data()[3].get("UniqueId"), core::Value("422335566"));
    EXPECT_EQ(source->data()[3].get("DisplayValue"), core::Value("C"));
    EXPECT_TRUE(host->calls.empty()) << "asked only on a later turn";
    settle();
    EXPECT_EQ(heard(), std::vector<std::string>{"loadMoreItems"});
    EXPECT_EQ(shown(), "A B C ...");
    EXPECT_EQ(source->lazyLoadingIndicatorIndex(), 3);
    EXPECT_EQ(services::ActivityIndicatorView::shared()->text(), "More...");
    EXPECT_EQ(source->uniqueIdentifierForItemAt(*table, 3), "") << "the loading row cannot be chosen";

    source->hideLazyLoadingIndicator();
    dispatch::MainQueue::shared().advance(0.9);
    EXPECT_EQ(shown(), "A B C ...");
    dispatch::MainQueue::shared().advance(0.1);
    EXPECT_EQ(shown(), "A B C");
    EXPECT_EQ(source->data().size(), 3u);
    EXPECT_EQ(source->lazyLoadingIndicatorIndex(), -1);
    EXPECT_FALSE(services::ActivityIndicatorView::isShown());
    table->reloadData();
    settle();
    EXPECT_EQ(heard().size(), 1u) << "no request once everything is loaded";
}

TEST_F(ListPickerPaging, RowsArrivingBeforeTheRemovalAreKeptWhole) {
    makePaged(true);
    open(10);
    settle();
    source->hideLazyLoadingIndicator();
    source->update(items(R"([{"UniqueId": "a", "DisplayValue": "A"}, {"UniqueId": "d", "DisplayValue": "D"}])"));
    cell->listPicker()->reloadData();
    dispatch::MainQueue::shared().advance(1.0);
    EXPECT_EQ(shown(), "A D ...") << "the new page pages again, and the earlier hide takes none of its rows";
    EXPECT_EQ(source->data()[1].get("UniqueId"), core::Value("d"));
    EXPECT_TRUE(source->hasPlaceholderRow());
}

TEST_F(ListPickerPaging, AHideBeforeTheLoadingRowWasDrawnStillTakesThePlaceholderAway) {
    makePaged(true);
    open(10);
    source->hideLazyLoadingIndicator();
    dispatch::MainQueue::shared().advance(1.0);
    EXPECT_EQ(source->data().size(), 3u);
    EXPECT_EQ(shown(), "A B C");
}

TEST_F(ListPickerPaging, WithoutTheLoadingRowEveryDrawOfTheLastRowAsks) {
    makePaged(false);
    open(2);
    table->scrollToRow({0, 2}, ui::UITableView::ScrollPosition::None, false);
    table->scrollToRow({0, 0}, ui::UITableView::ScrollPosition::None, false);
    table->scrollToRow({0, 2}, ui::UITableView::ScrollPosition::None, false);
    settle();
    EXPECT_EQ(heard(), (std::vector<std::string>{"loadMoreItems", "loadMoreItems"}));
}

TEST_F(ListPickerPaging, AStaticCollectionOrAGoneHostNeverPages) {
    make(R"([{"DisplayValue": "A"}])", true);
    source->setDataPagingData(testing::params(R"({"ShowLoadingIndicator": true})"));
    open(5);
    settle();
    EXPECT_TRUE(host->calls.empty());

    makePaged(false);
    host.reset();
    open(5);
    settle();  // the request finds nobody to ask
    EXPECT_EQ(source->data().size(), 3u);
}

}  // namespace
}  // namespace trc::formcells
