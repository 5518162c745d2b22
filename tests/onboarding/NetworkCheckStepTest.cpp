#include "onboarding/NetworkCheckStep.h"

#include <atomic>
#include <mutex>

#include "onboarding/LoopbackServer.h"
#include "onboarding/NetworkCheckStepError.h"
#include "onboarding/OnboardingCustomization.h"
#include "platform/core/internal/Logging.h"
#include "platform/flows/FlowTestSupport.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/URLError.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"
#include "testsupport/ZELURLSessionSeam.h"

namespace trc::onboarding {
namespace {

using test::LoopbackServer;

using flows::OnboardingContext;
using flows::OnboardingInfoKey;
using flows::OnboardingResult;
using flows::URLError;

// Stands for the network: answers every request with one error (or 204)
// and remembers what it was asked.
class ScriptedNetwork : public flows::URLTransport {
public:
    explicit ScriptedNetwork(int errorCode = 0) : errorCode_(errorCode) {}

    Outcome perform(const flows::URLRequest& request, const flows::URLSessionConfiguration& configuration,
                    const std::atomic<bool>&) override {
        std::lock_guard<std::mutex> lock(mutex_);
        requests.push_back(request);
        configurations.push_back(configuration);
        if (errorCode_) return {std::nullopt, {}, std::make_shared<URLError>(errorCode_, request.url)};
        flows::HTTPURLResponse response;
        response.statusCode = 204;
        return {response, {}, nullptr};
    }

    std::vector<flows::URLRequest> requests;
    std::vector<flows::URLSessionConfiguration> configurations;

private:
    int errorCode_;
    std::mutex mutex_;
};

class NetworkCheck : public flows::test::FlowTest {
protected:
    static OnboardingContext contextWithBackend(const std::string& backendURL) {
        OnboardingContext context;
        flows::ZELvornSettingsParameters settings;
        settings.backendURL = backendURL;
        settings.applicationID = "app";
        context.info[OnboardingInfoKey::zelvornSettingsParameters] = settings;
        return context;
    }

    // Runs the step's flow handler; the completion must not run inside the
    // call, and must run exactly once from the main queue.
    OnboardingResult check(const OnboardingContext& context) {
        auto step = std::make_shared<NetworkCheckStep>();
        int calls = 0;
        std::optional<OnboardingResult> result;
        step->onboard(context, [&](OnboardingResult r) {
            ++calls;
            result = std::move(r);
        });
        EXPECT_EQ(calls, 0) << "completed inside the call";
        EXPECT_TRUE(pumpUntil([&] { return calls > 0; }));
        pumpUntil([] { return false; }, 0.05);
        EXPECT_EQ(calls, 1);
        return result.value_or(OnboardingResult::failed(flows::OnboardingError::cancelled()));
    }

    void useNetwork(std::shared_ptr<ScriptedNetwork> network) {
        flows::ZELURLSessionSeam::setDefaultTransport(network);
    }
};

TEST_F(NetworkCheck, WithoutAConnectionTheStepFailsWithTheDefaultTextAndThePlatformsDescription) {
    auto network = std::make_shared<ScriptedNetwork>(URLError::notConnectedToInternet);
    useNetwork(network);
    core::internal::Logging::clearCaptured();

    OnboardingResult result = check(contextWithBackend("https://vorn.example.com/base"));

    const auto* error = flows::Error::as<NetworkCheckStepError>(result.error());
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, NetworkCheckStepError::networkUnreachable());
    const std::string expected =
        "Network unavailable.  Please try again later. The Internet connection appears to be offline.";
    for (const std::string& text :
         {error->localizedDescription(), error->errorDescription(), error->failureReason(), error->debugDescription()})
        EXPECT_EQ(text, expected);
    EXPECT_EQ(NetworkCheckStepError::networkErrorString(), "The Internet connection appears to be offline.");

    bool printed = false;
    for (const auto& record : core::internal::Logging::captured())
        printed |= record.logger == NetworkCheckStep::kConsoleLogger &&
                   record.message == "Ping test failed: The Internet connection appears to be offline.";
    EXPECT_TRUE(printed);

    ASSERT_EQ(network->requests.size(), 1u) << "one request, no retries";
    EXPECT_EQ(network->requests[0].url, "https://vorn.example.com/base");
    EXPECT_EQ(network->requests[0].httpMethod, "GET");
    EXPECT_TRUE(network->requests[0].httpBody.empty());
    EXPECT_EQ(network->requests[0].timeoutInterval, 60.0);
    EXPECT_EQ(network->configurations[0].timeoutIntervalForRequest, 2.0);
}

TEST_F(NetworkCheck, TheApplicationsSessionIsNotUsed) {
    auto network = std::make_shared<ScriptedNetwork>();
    auto context = contextWithBackend("https://vorn.example.com");
    auto own = std::make_shared<ScriptedNetwork>(URLError::notConnectedToInternet);
    context.setZelURLSession(std::make_shared<flows::ZELURLSession>(flows::URLSessionConfiguration{}, own));
    useNetwork(network);
    EXPECT_TRUE(check(context).isSuccess());
    EXPECT_TRUE(own->requests.empty());
    EXPECT_EQ(network->requests.size(), 1u);
}

TEST_F(NetworkCheck, EveryOtherOutcomeLetsTheFlowGoOnWithTheSameContext) {
    for (int code : {0, int(URLError::timedOut), int(URLError::cannotFindHost), int(URLError::cannotConnectToHost),
                     int(URLError::networkConnectionLost), int(URLError::secureConnectionFailed)}) {
        SCOPED_TRACE(code);
        useNetwork(std::make_shared<ScriptedNetwork>(code));
        auto context = contextWithBackend("https://vorn.example.com");
        OnboardingResult result = check(context);
        ASSERT_TRUE(result.isSuccess()) << result.error()->description();
        EXPECT_EQ(result.context()->onboardingID, context.onboardingID);
        EXPECT_TRUE(result.context()->infoValue<flows::ZELvornSettingsParameters>(
            OnboardingInfoKey::zelvornSettingsParameters));
    }
    EXPECT_EQ(NetworkCheckStepError::networkErrorString(), std::nullopt);
}

TEST_F(NetworkCheck, AServerAnsweringWithAnErrorStatusOrARefusedPortLetsTheFlowGoOn) {
    LoopbackServer server(LoopbackServer::Mode::answering, 503);
    EXPECT_TRUE(check(contextWithBackend(server.url() + "/")).isSuccess());
    EXPECT_EQ(server.hits(), 1);

    LoopbackServer refusing(LoopbackServer::Mode::refusing);
    EXPECT_TRUE(check(contextWithBackend(refusing.url() + "/")).isSuccess());
}

TEST_F(NetworkCheck, MissingOrUnusableSettingsFailTheFlowInsteadOfWaitingForever) {
    auto network = std::make_shared<ScriptedNetwork>();
    useNetwork(network);
    auto expectMissingSettings = [&](const OnboardingContext& context) {
        OnboardingResult result = check(context);
        const auto* error = flows::Error::as<flows::OnboardingError>(result.error());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->errorCase(), flows::OnboardingError::Case::missingArgument);
        EXPECT_EQ(error->text(0), "ZELvornSettingsParameters");
        EXPECT_EQ(error->text(1), "NetworkCheckStep");
    };
    expectMissingSettings(OnboardingContext());
    OnboardingContext wrongKind;
    wrongKind.info[OnboardingInfoKey::zelvornSettingsParameters] = std::string("https://vorn.example.com");
    expectMissingSettings(wrongKind);
    for (const char* url : {"", "vorn.example.com", "ftp://vorn.example.com/", "http://", "https://vorn example.com/",
                            "not a url at all"}) {
        SCOPED_TRACE(url);
        expectMissingSettings(contextWithBackend(url));
    }
    EXPECT_TRUE(network->requests.empty()) << "nothing is sent for an unusable URL";

    std::optional<OnboardingResult> result;
    NetworkCheckStep::pingTest(std::nullopt, OnboardingContext(), [&](OnboardingResult r) { result = r; });
    runMain();
    ASSERT_TRUE(result);
    EXPECT_TRUE(flows::Error::is<flows::OnboardingError>(result->error()));
}

TEST_F(NetworkCheck, TheDescriptionEndsWithOneBlankBeforeAnyFailureAndTakesTheHostsText) {
    auto error = NetworkCheckStepError::networkUnreachable();
    EXPECT_EQ(error.description(), "Network unavailable.  Please try again later. ");
    EXPECT_EQ(*flows::Error::as<NetworkCheckStepError>(error.clone()), error);

    core::Dictionary hostTexts;
    hostTexts["networkUnreachableFailureString"] = core::Value("No network.");
    OnboardingCustomization::update(hostTexts);
    NetworkCheckStepError::setNetworkErrorString("offline");
    EXPECT_EQ(error.description(), "No network. offline") << "the host's text replaces only the first part";
}

}  // namespace
}  // namespace trc::onboarding
