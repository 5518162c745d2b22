#include "services/Search.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "services/ParameterHelper.h"
#include "services/SearchTimer.h"

namespace trc::services {

namespace {

// Characters as a person counts them (grapheme clusters), so an accented
// letter typed as two code points counts once against the threshold.
std::int64_t characterCount(const std::string& text) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(text);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !it) return u.countChar32();
    it->setText(u);
    std::int64_t count = 0;
    for (int32_t p = it->next(); p != icu::BreakIterator::DONE; p = it->next()) ++count;
    return count;
}

}  // namespace

Search::Search(const core::Dictionary& params) {
    auto settings = ParameterHelper::getParameterAsDictionary(params, kSearch);
    if (!settings) return;
    if (const core::Value* v = settings->find(kEnabled); v && v->isBool()) enabled = *v->ifBool();
    if (const core::Value* v = settings->find(kPlaceholder); v && v->isString()) placeholder = *v->ifString();
    if (const core::Value* v = settings->find(kBarcodeScanner); v && v->isBool()) barcodeScanner = *v->ifBool();
    if (auto n = ParameterHelper::getParameterAsInt(*settings, kMinimumCharacterThreshold)) {
        minimumCharacterThreshold = *n;
    }
    // A negative delay would be due in the past; it runs as no delay.
    if (auto n = ParameterHelper::getParameterAsInt(*settings, kDelay)) delay = std::max<std::int64_t>(0, *n);
}

Search::~Search() { invalidate(); }

bool Search::isPending() const { return timer_ && timer_->isValid(); }

void Search::schedule(const std::string& searchString, const std::shared_ptr<core::Object>& target,
                      const std::string& selector) {
    if (searchString == searchString_) return;
    const std::int64_t length = characterCount(searchString);
    if (length > characterCount(searchString_) && length < minimumCharacterThreshold) return;
    searchString_ = searchString;
    start(static_cast<double>(delay) / 1000.0, target, selector);
}

void Search::immediateSearch(const std::string& searchString, const std::shared_ptr<core::Object>& target,
                             const std::string& selector) {
    searchString_ = searchString;
    start(0, target, selector);
}

void Search::invalidate() {
    if (timer_) timer_->invalidate();
    timer_.reset();
}

void Search::start(double seconds, const std::shared_ptr<core::Object>& target, const std::string& selector) {
    invalidate();
    std::weak_ptr<core::Object> weakTarget = target;
    core::Value userInfo(core::Dictionary{{kSearchString, searchString_}});
    timer_ = dispatch::MainQueue::shared().scheduleTimer(
        seconds, false,
        [weakTarget, selector](dispatch::Timer& timer) {
            auto t = weakTarget.lock();
            if (!t) return;
            try {
                if (!t->respondsToSelector(selector)) {
                    core::SharedLoggerManager::log(
                        core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                        "search: the target " + t->className() + " does not answer " + selector);
                    return;
                }
                t->perform(selector, core::Value(std::make_shared<SearchTimer>(timer.userInfo())));
            } catch (const std::exception& e) {
                core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                               std::string("search: ") + selector + " failed: " + e.what());
            }
        },
        std::move(userInfo));
}

}  // namespace trc::services
