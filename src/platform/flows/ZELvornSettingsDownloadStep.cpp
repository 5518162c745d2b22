#include "platform/flows/ZELvornSettingsDownloadStep.h"

#include "platform/core/Json.h"
#include "platform/flows/ConfigurationError.h"
#include "platform/flows/Logger.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/URLError.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"
#include "platform/flows/ZELvornSettingsTransformationMap.h"

namespace trc::flows {

namespace {

constexpr const char* kLoggerName = "ZEL.Flows.ZELvornSettingsDownloadStep";

core::Value parseSettings(const core::Data& body) {
    std::string text(body.begin(), body.end());
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return core::Value(core::Dictionary());
    try {
        return core::Json::parse(text, core::Json::NullAs::Nil);
    } catch (const core::JsonError& e) {
        throw ConfigurationError(ConfigurationError::Case::unreadable, e.what());
    }
}

}  // namespace

ZELvornSettingsDownloadStep::ZELvornSettingsDownloadStep(std::shared_ptr<ConfigurationTransformer> transformer,
                                                         OnboardingInfoKey settingsInfoKey,
                                                         OnboardingInfoKey previousSettingsInfoKey)
    : transformer_(transformer ? std::move(transformer)
                               : std::make_shared<ConfigurationTransformer>(ZELvornSettingsTransformationMap::rules())),
      settingsInfoKey_(std::move(settingsInfoKey)),
      previousSettingsInfoKey_(std::move(previousSettingsInfoKey)) {}

OnboardingContext::Info ZELvornSettingsDownloadStep::loadPersistedSettingsData(const CodableStoring& store) const {
    auto bytes = store.get(kPersistedSettingsKey);
    if (!bytes) return {};
    return transformer_->transform(parseSettings(*bytes));
}

void ZELvornSettingsDownloadStep::onboard(const OnboardingContext& context, Completion completion) {
    const auto* settings = context.infoValue<ZELvornSettingsParameters>(settingsInfoKey_);
    if (!settings) {
        completion(OnboardingResult::failed(
            OnboardingError::missingArgument(settingsInfoKey_.rawValue(), "ZELvornSettingsDownloadStep")));
        return;
    }
    auto transformer = transformer_;
    auto previousKey = previousSettingsInfoKey_;
    URLRequest request(settings->applicationURL("settings"));
    request.cachePolicy = URLRequest::CachePolicy::reloadIgnoringLocalCacheData;
    context.zelURLSession()
        ->dataTask(request,
                   [context, completion, transformer, previousKey](
                       core::Data body, std::optional<HTTPURLResponse> response, ErrorPtr error) {
                       if (error) return completion(OnboardingResult::failed(error));
                       if (!response || response->statusCode < 200 || response->statusCode > 299)
                           return completion(OnboardingResult::failed(
                               URLError(URLError::badServerResponse, response ? response->url : "")));
                       try {
                           core::Value raw = parseSettings(body);
                           OnboardingContext::Info info = transformer->transform(raw);
                           OnboardingContext next = context;
                           if (auto before = context.credentialStore->get(kPersistedSettingsKey)) {
                               try {
                                   next.info[previousKey] = parseSettings(*before);
                               } catch (const Error&) {
                                   // Unreadable old settings are simply not handed on.
                               }
                           }
                           try {
                               context.credentialStore->put(body, kPersistedSettingsKey);
                           } catch (const std::exception& e) {
                               // A full disk costs only the cached copy: the flow goes on
                               // with the settings the server just gave.
                               Logger::shared(kLoggerName)
                                   ->warn(std::string("the downloaded settings cannot be kept: ") + e.what());
                           }
                           for (auto& [key, value] : info) next.info[key] = std::move(value);
                           completion(OnboardingResult::success(std::move(next)));
                       } catch (...) {
                           completion(OnboardingResult::failed(UnexpectedError::fromCurrentException()));
                       }
                   })
        ->resume();
}

void ZELvornSettingsDownloadStep::reset(const OnboardingContext& context, ResetCompletion completion) {
    try {
        if (context.credentialStore) context.credentialStore->remove(kPersistedSettingsKey);
    } catch (const Error&) {
        // A store that cannot be written is deleted by the store step's reset.
    }
    completion();
}

}  // namespace trc::flows
