#include "platform/flows/ZELvornUserRoles.h"

#include "platform/core/Json.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/ConfigurationError.h"
#include "platform/flows/URLError.h"
#include "platform/flows/ZELURLSession.h"

namespace trc::flows {

ZELvornUserRoles::ZELvornUserRoles(std::shared_ptr<ZELURLSession> session, ZELvornSettingsParameters settingsParameters)
    : session_(session ? std::move(session) : std::make_shared<ZELURLSession>()),
      settings_(std::move(settingsParameters)) {}

void ZELvornUserRoles::load(std::function<void(std::optional<UserInfo>, ErrorPtr)> completion) {
    URLRequest request(settings_.applicationURL("roles/v1/me"));
    request.cachePolicy = URLRequest::CachePolicy::reloadIgnoringLocalCacheData;
    session_
        ->dataTask(request,
                   [completion](core::Data body, std::optional<HTTPURLResponse> response, ErrorPtr error) {
                       if (!completion) return;
                       if (error) return completion(std::nullopt, error);
                       if (!response || response->statusCode < 200 || response->statusCode > 299)
                           return completion(std::nullopt, std::make_shared<URLError>(URLError::badServerResponse));
                       std::optional<UserInfo> user;
                       try {
                           user = userInfo(body);
                       } catch (const ConfigurationError& e) {
                           return completion(std::nullopt, e.clone());
                       }
                       completion(std::move(user), nullptr);
                   })
        ->resume();
}

ZELvornUserRoles::UserInfo ZELvornUserRoles::userInfo(const core::Data& response) {
    core::Value json;
    try {
        json = core::Json::parse(std::string(response.begin(), response.end()));
    } catch (const std::exception& e) {
        throw ConfigurationError(ConfigurationError::Case::unreadable, e.what());
    }
    const core::Value* id = json.find("id");
    if (!id || !id->ifString()) throw ConfigurationError(ConfigurationError::Case::missingValue, "id");
    UserInfo user{*id->ifString(), std::nullopt};
    if (const core::Value* name = json.find("userName"); name && name->ifString()) user.userName = *name->ifString();
    return user;
}

}  // namespace trc::flows
