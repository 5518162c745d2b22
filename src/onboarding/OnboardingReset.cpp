#include "onboarding/OnboardingReset.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "onboarding/OnboardingController.h"
#include "onboarding/OnboardingStorageError.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/flows/HTTPCookieStorage.h"
#include "platform/flows/OnboardingFlowController.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/flows/StoreSelectorStep.h"
#include "platform/flows/URLCache.h"
#include "platform/flows/WebsiteDataStore.h"
#include "platform/foundation/UserDefaults.h"

namespace trc::onboarding {

namespace {

foundation::UserDefaults& defaults() { return foundation::UserDefaults::shared(); }

// A file that is not there, as far as anyone can tell: a path that cannot
// even be looked at may still hold it.
bool isGone(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (error) return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
    return status.type() == std::filesystem::file_type::not_found;
}

void clearWebsiteData(std::function<void()> then) {
    auto& store = flows::WebsiteDataStore::defaultStore();
    store.fetchDataRecords(flows::WebsiteDataStore::allWebsiteDataTypes(),
                           [then = std::move(then)](std::vector<flows::WebsiteDataStore::Record> records) {
                               flows::WebsiteDataStore::defaultStore().removeData(
                                   flows::WebsiteDataStore::allWebsiteDataTypes(), records, [] {});
                               then();
                           });
}

}  // namespace

void OnboardingReset::clearWebSession() {
    flows::HTTPCookieStorage::shared().removeCookies(flows::HTTPCookieStorage::distantPast());
    flows::URLCache::shared().removeAllCachedResponses();
}

bool OnboardingReset::forgetOnboarding(const std::optional<foundation::UUID>& onboardingID) {
    auto named = [&] {
        std::optional<std::string> text = defaults().stringForKey(OnboardingController::kAppOnboardedState);
        if (!onboardingID) return !defaults().objectForKey(OnboardingController::kAppOnboardedState).isNil();
        return text && foundation::UUID::fromString(*text) == onboardingID;
    };
    bool removed = true;
    if (named()) removed = defaults().remove(OnboardingController::kAppOnboardedState);
    // User defaults that cannot be read now may still name it.
    return removed && !defaults().readError() && !named();
}

std::shared_ptr<flows::StoreManagerStep> OnboardingReset::storeStepOf(
    const std::shared_ptr<flows::OnboardingStep>& step) {
    if (auto store = std::dynamic_pointer_cast<flows::StoreManagerStep>(step)) return store;
    if (auto selector = std::dynamic_pointer_cast<flows::StoreSelectorStep>(step)) return selector->step;
    return nullptr;
}

void OnboardingReset::reset(const Flows::Steps& steps, const flows::OnboardingContext& context, Done done) {
    const bool initialLaunchGone = defaults().remove(OnboardingController::kIsInitialLaunchKey);
    flows::OnboardingFlowController::reset(steps, context, [steps, context, initialLaunchGone, done] {
        clearWebSession();
        std::vector<std::string> left;
        for (const auto& step : steps) {
            auto store = storeStepOf(step);
            if (!store) continue;
            const auto path = store->persistentStoreManager()->storePath(context.onboardingID, &context);
            if (!isGone(path)) left.push_back("its secure store " + path.filename().string());
        }
        if (!forgetOnboarding(context.onboardingID))
            left.push_back(std::string("the user default \"") + OnboardingController::kAppOnboardedState + "\"");
        if (!initialLaunchGone)
            left.push_back(std::string("the user default \"") + OnboardingController::kIsInitialLaunchKey + "\"");
        flows::ErrorPtr error;
        if (!left.empty()) {
            std::string what;
            for (const std::string& l : left) what += (what.empty() ? "" : " and ") + l;
            error = std::make_shared<OnboardingStorageError>(OnboardingStorageError::Case::notReset, what);
            core::SharedLoggerManager::log(
                core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                "onboarding " + context.onboardingID.uuidString() + ": " + error->description());
        }
        clearWebsiteData([done, error] {
            if (done) done(error);
        });
    });
}

}  // namespace trc::onboarding
