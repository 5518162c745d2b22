#pragma once
// The signed-in user as the mobile-services server knows them: load asks
// <backend>/mobileservices/application/<id>/roles/v1/me over the given
// (authenticated) session and completes on the main queue with the user's
// information ({"id": ...}, an optional "userName") or an error.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/Value.h"
#include "platform/flows/Error.h"
#include "platform/flows/ZELvornSettingsParameters.h"

namespace trc::flows {

class ZELURLSession;

class ZELvornUserRoles {
public:
    struct UserInfo {
        std::string id;
        std::optional<std::string> userName;
    };

    ZELvornUserRoles(std::shared_ptr<ZELURLSession> session, ZELvornSettingsParameters settingsParameters);

    void load(std::function<void(std::optional<UserInfo>, ErrorPtr)> completion);
    // The user of a roles answer; ConfigurationError unreadable (not JSON)
    // or missingValue (no "id" text).
    static UserInfo userInfo(const core::Data& response);

private:
    std::shared_ptr<ZELURLSession> session_;
    ZELvornSettingsParameters settings_;
};

}  // namespace trc::flows
