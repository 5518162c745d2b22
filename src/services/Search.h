#pragma once
// The search settings of a section or list picker row, read from the row's
// "Search" dictionary, and the debounce of the searches a person types.
//
// schedule() waits the configured delay (on the main queue's clock) after
// the last change before it performs the target's selector, so the host is
// asked once per pause in typing; it skips a text that did not change and a
// text that grew but is still below the minimum length. immediateSearch()
// (the search button) skips both tests and the delay, but still runs later
// on the main queue, never inside the call. Either one replaces a pending
// search.
//
// The selector is performed with one argument, a SearchTimer whose user info
// is {"searchString": text}. The target is held weakly: a target that is gone
// when the timer fires is not asked (it owns its Search, and a strong hold
// would keep both alive). A Search that is destroyed cancels its pending
// search. Owned by std::shared_ptr by the row's data source; main thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/Object.h"

namespace trc::dispatch {
class Timer;
}

namespace trc::services {

class Search {
public:
    // Keys of the row's parameters and of the timer's user info.
    static constexpr const char* kSearch = "Search";
    static constexpr const char* kEnabled = "Enabled";
    static constexpr const char* kPlaceholder = "Placeholder";
    static constexpr const char* kBarcodeScanner = "BarcodeScanner";
    static constexpr const char* kMinimumCharacterThreshold = "MinimumCharacterThreshold";
    static constexpr const char* kDelay = "Delay";
    static constexpr const char* kSearchString = "searchString";

    // Reads params["Search"]; an absent entry, or one of the wrong kind, keeps
    // the default: search off, no placeholder, no scanner, no minimum, no delay.
    explicit Search(const core::Dictionary& params);
    ~Search();
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;

    bool enabled = false;
    std::optional<std::string> placeholder;
    bool barcodeScanner = false;
    std::int64_t minimumCharacterThreshold = 0;
    // Milliseconds.
    std::int64_t delay = 0;

    // The last text handed to schedule() or immediateSearch().
    const std::string& searchString() const { return searchString_; }
    // True while a search waits for its timer.
    bool isPending() const;

    void schedule(const std::string& searchString, const std::shared_ptr<core::Object>& target,
                  const std::string& selector);
    void immediateSearch(const std::string& searchString, const std::shared_ptr<core::Object>& target,
                         const std::string& selector);

private:
    void start(double seconds, const std::shared_ptr<core::Object>& target, const std::string& selector);
    void invalidate();

    std::string searchString_;
    std::shared_ptr<dispatch::Timer> timer_;
};

}  // namespace trc::services
