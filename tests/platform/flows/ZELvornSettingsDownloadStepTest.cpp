#include "platform/flows/ZELvornSettingsDownloadStep.h"

#include <httplib.h>

#include <mutex>
#include <thread>

#include "FlowTestSupport.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/VUIPasscodePolicy.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"
#include "platform/flows/ZELvornSettingsTransformationMap.h"
#include "platform/flows/ZELvornUserRoles.h"

namespace trc::flows::test {
namespace {

// The mobile-services server: answers every GET with settings and keeps the
// request targets as they came over the wire.
class SettingsServer {
public:
    SettingsServer() {
        server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                targets_.push_back(req.target);
            }
            res.set_content(R"({"id": "user-1", "passcodePolicy": {"minLength": 9}})", "application/json");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~SettingsServer() {
        server_.stop();
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> targets() {
        std::lock_guard<std::mutex> lock(mutex_);
        return targets_;
    }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> targets_;
};

// A credential store on a full disk: reads work, writes fail.
class FullStore : public CodableStoring {
public:
    std::optional<core::Data> get(const std::string&) const override { return std::nullopt; }
    void put(const core::Data&, const std::string&) override {
        throw StoreManagerError(StoreManagerError::Case::storeUnavailable, "no space left on device");
    }
    void remove(const std::string&) override {}
};

class SettingsDownload : public FlowTest {
protected:
    OnboardingContext context(const std::string& applicationID) {
        OnboardingContext ctx;
        ZELvornSettingsParameters settings;
        settings.backendURL = server.url();
        settings.applicationID = applicationID;
        ctx.info[OnboardingInfoKey::zelvornSettingsParameters] = settings;
        return ctx;
    }
    std::optional<OnboardingResult> run(const OnboardingContext& ctx, bool restoring) {
        std::optional<OnboardingResult> result;
        auto done = [&](OnboardingResult r) { result = std::move(r); };
        if (restoring)
            step->restore(ctx, done);
        else
            step->onboard(ctx, done);
        pumpUntil([&] { return result.has_value(); });
        return result;
    }

    SettingsServer server;
    std::shared_ptr<ZELvornSettingsDownloadStep> step = std::make_shared<ZELvornSettingsDownloadStep>(
        std::make_shared<ConfigurationTransformer>(ZELvornSettingsTransformationMap::rules()));
};

TEST_F(SettingsDownload, ARestoreGoesOnWithTheDownloadedSettingsWhenTheyCannotBeKept) {
    OnboardingContext ctx = context("app1");
    ctx.credentialStore = std::make_shared<FullStore>();
    auto result = run(ctx, true);
    ASSERT_TRUE(result);
    ASSERT_TRUE(result->isSuccess()) << result->error()->description();
    EXPECT_TRUE(result->context()->infoValue<VUIPasscodePolicy>(OnboardingInfoKey::passcodePolicy))
        << "the settings downloaded are handed on";
}

TEST_F(SettingsDownload, TheApplicationIDIsOnePathSegmentOfEveryRequest) {
    const std::string id = "../../admin/x?y=1#%";
    const std::string segment = "..%2F..%2Fadmin%2Fx%3Fy%3D1%23%25";
    OnboardingContext ctx = context(id);
    ASSERT_TRUE(run(ctx, false)->isSuccess());
    auto roles = std::make_shared<ZELvornUserRoles>(
        ctx.zelURLSession(), *ctx.infoValue<ZELvornSettingsParameters>(OnboardingInfoKey::zelvornSettingsParameters));
    bool loaded = false;
    roles->load([&](std::optional<ZELvornUserRoles::UserInfo>, ErrorPtr) { loaded = true; });
    ASSERT_TRUE(pumpUntil([&] { return loaded; }));
    EXPECT_EQ(server.targets(), (std::vector<std::string>{"/mobileservices/application/" + segment + "/settings",
                                                          "/mobileservices/application/" + segment + "/roles/v1/me"}));
}

}  // namespace
}  // namespace trc::flows::test
