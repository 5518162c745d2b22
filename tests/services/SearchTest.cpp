#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/internal/Logging.h"
#include "platform/dispatch/MainQueue.h"
#include "services/Search.h"
#include "services/SearchTimer.h"

using namespace trc;
using services::Search;

namespace {

constexpr const char* kSelector = "callSearchCallbackWithSender:";

// A search target that notes "text@time" for each search it is asked for,
// reading the text from the sender's user info as a data source would.
class Target : public core::Object {
public:
    std::vector<std::string> asked;

    bool respondsToSelector(std::string_view selector) const override { return selector == kSelector; }
    core::Value perform(std::string_view selector, core::Args args) override {
        EXPECT_EQ(selector, kSelector);
        auto sender = args.size() == 1 ? args[0].ifObjectOf<services::SearchTimer>() : nullptr;
        EXPECT_NE(sender, nullptr);
        if (!sender) return {};
        const core::Value* text = sender->userInfo().find(Search::kSearchString);
        EXPECT_EQ(sender->valueForKey("userInfo"), sender->userInfo());
        asked.push_back((text && text->isString() ? *text->ifString() : "?") + "@" +
                        std::to_string(std::lround(dispatch::MainQueue::shared().now() * 1000)));
        return {};
    }
};

core::Dictionary searchParams(core::Dictionary search) { return {{"Search", std::move(search)}}; }

class SearchDebounce : public ::testing::Test {
protected:
    void SetUp() override {
        dispatch::MainQueue::resetShared();
        core::internal::Logging::clearCaptured();
    }
    dispatch::MainQueue& q() { return dispatch::MainQueue::shared(); }
    std::shared_ptr<Target> target = std::make_shared<Target>();
};

}  // namespace

TEST(SearchSettings, ReadsTheSearchDictionaryAndKeepsDefaultsForWrongKinds) {
    Search s(searchParams({{"Enabled", true},
                           {"Placeholder", "Find"},
                           {"BarcodeScanner", true},
                           {"MinimumCharacterThreshold", 3},
                           {"Delay", 250}}));
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.placeholder, "Find");
    EXPECT_TRUE(s.barcodeScanner);
    EXPECT_EQ(s.minimumCharacterThreshold, 3);
    EXPECT_EQ(s.delay, 250);
    EXPECT_EQ(s.searchString(), "");

    Search wrong(searchParams({{"Enabled", 1},
                               {"Placeholder", 5},
                               {"BarcodeScanner", "yes"},
                               {"MinimumCharacterThreshold", "3"},
                               {"Delay", -20}}));
    EXPECT_FALSE(wrong.enabled) << "a number is not a boolean";
    EXPECT_FALSE(wrong.placeholder.has_value());
    EXPECT_FALSE(wrong.barcodeScanner);
    EXPECT_EQ(wrong.minimumCharacterThreshold, 0);
    EXPECT_EQ(wrong.delay, 0) << "a negative delay runs as none";

    Search none(core::Dictionary{{"Search", "not a dictionary"}});
    EXPECT_FALSE(none.enabled);
    EXPECT_EQ(none.delay, 0);
}

TEST_F(SearchDebounce, OnlyTheLastTextOfABurstIsSearchedAfterTheDelay) {
    Search s(searchParams({{"Delay", 300}}));
    s.schedule("a", target, kSelector);
    q().advance(0.2);
    s.schedule("ab", target, kSelector);
    q().advance(0.2);
    s.schedule("abc", target, kSelector);
    q().advance(0.299);
    EXPECT_TRUE(target->asked.empty()) << "each keystroke restarts the wait";
    q().advance(0.001);
    EXPECT_EQ(target->asked, std::vector<std::string>{"abc@700"});
    EXPECT_EQ(s.searchString(), "abc");
    EXPECT_FALSE(s.isPending());
    q().advance(5);
    EXPECT_EQ(target->asked.size(), 1u) << "a timer fires once";
}

TEST_F(SearchDebounce, UnchangedTextAndShortGrowingTextAreNotSearched) {
    Search s(searchParams({{"Delay", 100}, {"MinimumCharacterThreshold", 3}}));
    s.schedule("a", target, kSelector);
    s.schedule("ab", target, kSelector);
    q().advance(1);
    EXPECT_TRUE(target->asked.empty()) << "below the minimum while growing";
    EXPECT_EQ(s.searchString(), "");

    s.schedule("abc", target, kSelector);
    q().advance(1);
    s.schedule("abc", target, kSelector);
    q().advance(1);
    EXPECT_EQ(target->asked, std::vector<std::string>{"abc@1100"}) << "the same text twice is searched once";

    // Shortening is always searched, so the host can widen its results again.
    s.schedule("ab", target, kSelector);
    q().advance(0.1);
    EXPECT_EQ(target->asked.back(), "ab@3100");
    s.schedule("", target, kSelector);
    q().advance(0.1);
    EXPECT_EQ(target->asked.back(), "@3200");
}

TEST_F(SearchDebounce, ThresholdCountsCharactersNotBytes) {
    Search s(searchParams({{"MinimumCharacterThreshold", 2}}));
    s.schedule("\xC3\xA9", target, kSelector);  // one accented letter, two bytes
    q().runUntilIdle();
    EXPECT_TRUE(target->asked.empty());
    s.schedule("e\xCC\x81x", target, kSelector);  // e + combining accent, then x: two characters
    q().runUntilIdle();
    EXPECT_EQ(target->asked.size(), 1u);
}

TEST_F(SearchDebounce, ImmediateSearchReplacesThePendingOneAndSkipsTheThreshold) {
    Search s(searchParams({{"Delay", 500}, {"MinimumCharacterThreshold", 5}}));
    s.schedule("abcdef", target, kSelector);
    q().advance(0.1);
    s.immediateSearch("x", target, kSelector);
    EXPECT_TRUE(target->asked.empty()) << "never inside the call";
    q().runUntilIdle();
    EXPECT_EQ(target->asked, std::vector<std::string>{"x@100"});
    q().advance(1);
    EXPECT_EQ(target->asked.size(), 1u) << "the debounced search was replaced";
}

TEST_F(SearchDebounce, NothingIsAskedOnceTheTargetOrTheSearchIsGone) {
    {
        Search s(searchParams({{"Delay", 100}}));
        s.schedule("abc", target, kSelector);
    }
    q().advance(1);
    EXPECT_TRUE(target->asked.empty()) << "a destroyed search cancels its timer";

    Search s(searchParams({{"Delay", 100}}));
    std::weak_ptr<Target> watch = target;
    s.schedule("abc", target, kSelector);
    target.reset();
    EXPECT_TRUE(watch.expired()) << "the timer does not keep the target alive";
    q().advance(1);
}

TEST_F(SearchDebounce, ATargetWithoutTheSelectorIsLoggedNotCalled) {
    Search s(searchParams({}));
    s.schedule("abc", target, "somethingElse:");
    q().runUntilIdle();
    EXPECT_TRUE(target->asked.empty());
    bool logged = false;
    for (const auto& r : core::internal::Logging::captured())
        logged |= r.message.find("somethingElse:") != std::string::npos;
    EXPECT_TRUE(logged);
}
