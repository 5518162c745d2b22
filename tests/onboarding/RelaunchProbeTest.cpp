#include <mutex>
#include <thread>

#include "onboarding/LoopbackServer.h"
#include "onboarding/RelaunchProbe.h"
#include "platform/flows/FlowTestSupport.h"
#include "platform/flows/ZELURLSession.h"
#include "testsupport/ProcessStateReset.h"
#include "testsupport/RelaunchProbeSeam.h"
#include "testsupport/ZELURLSessionSeam.h"

namespace trc::onboarding {
namespace {

using test::LoopbackServer;

// Records the requests and session settings it is given, and answers 204.
class RecordingNetwork : public flows::URLTransport {
public:
    Outcome perform(const flows::URLRequest& request, const flows::URLSessionConfiguration& configuration,
                    const std::atomic<bool>&) override {
        std::lock_guard<std::mutex> lock(mutex);
        requests.push_back(request);
        configurations.push_back(configuration);
        flows::HTTPURLResponse response;
        response.statusCode = 204;
        return {response, {}, nullptr};
    }
    std::mutex mutex;
    std::vector<flows::URLRequest> requests;
    std::vector<flows::URLSessionConfiguration> configurations;
};

class RelaunchProbeTest : public flows::test::FlowTest {
protected:
    // The probe's answer, and whether it came on this (the main) thread.
    std::optional<bool> probe(const std::string& url) {
        std::optional<bool> reachable;
        const auto mainThread = std::this_thread::get_id();
        RelaunchProbe::probe(url, [&](bool answer) {
            onMainThread = std::this_thread::get_id() == mainThread;
            reachable = answer;
        });
        pumpUntil([&] { return reachable.has_value(); });
        return reachable;
    }
    bool onMainThread = false;
};

TEST_F(RelaunchProbeTest, AFailingServerAnswersButARefusingOrSilentOneIsUnreachable) {
    LoopbackServer failing(LoopbackServer::Mode::answering, 500);
    EXPECT_EQ(probe(failing.url()), std::optional<bool>(true));
    EXPECT_TRUE(onMainThread);
    LoopbackServer refusing(LoopbackServer::Mode::refusing);
    EXPECT_EQ(probe(refusing.url()), std::optional<bool>(false));

    RelaunchProbeSeam::setTimeouts({0.2, 0.5});
    LoopbackServer hanging(LoopbackServer::Mode::hanging);
    EXPECT_EQ(probe(hanging.url()), std::optional<bool>(false));
    EXPECT_TRUE(onMainThread);
}

TEST_F(RelaunchProbeTest, TheSessionAndRequestTimeoutsAreTheProbesOwn) {
    auto network = std::make_shared<RecordingNetwork>();
    flows::ZELURLSessionSeam::setDefaultTransport(network);
    probe("http://127.0.0.1:9/status");
    RelaunchProbeSeam::setTimeouts({0.25, 3.0});
    probe("http://127.0.0.1:9/status");
    core::ProcessStateReset::resetAll();
    flows::ZELURLSessionSeam::setDefaultTransport(network);
    probe("http://127.0.0.1:9/status");

    std::lock_guard<std::mutex> lock(network->mutex);
    ASSERT_EQ(network->requests.size(), 3u);
    EXPECT_EQ(network->requests[0].httpMethod, "GET");
    EXPECT_EQ(network->requests[0].url, "http://127.0.0.1:9/status");
    EXPECT_EQ(network->requests[0].cachePolicy, flows::URLRequest::CachePolicy::useProtocolCachePolicy);
    EXPECT_EQ(network->requests[0].timeoutInterval, 60.0);
    EXPECT_EQ(network->configurations[0].timeoutIntervalForRequest, 2.0);
    EXPECT_EQ(network->requests[1].timeoutInterval, 3.0);
    EXPECT_EQ(network->configurations[1].timeoutIntervalForRequest, 0.25);
    EXPECT_EQ(network->configurations[2].timeoutIntervalForRequest, 2.0);
}

TEST_F(RelaunchProbeTest, OnlyAbsoluteWebURLsWithAHostAreProbed) {
    using core::Value;
    const Value good[] = {Value("http://127.0.0.1:8080/x"), Value("https://vorn.example.com")};
    for (const Value& v : good) EXPECT_EQ(RelaunchProbe::probeableURL(&v), *v.ifString());
    const Value bad[] = {Value("ftp://vorn.example.com"),
                         Value("vorn.example.com"),
                         Value("/relative"),
                         Value("http://"),
                         Value("http://a b.com"),
                         Value(""),
                         Value(42),
                         Value(true),
                         Value()};
    for (const Value& v : bad) EXPECT_EQ(RelaunchProbe::probeableURL(&v), std::nullopt) << v.description();
    EXPECT_EQ(RelaunchProbe::probeableURL(nullptr), std::nullopt);
}

}  // namespace
}  // namespace trc::onboarding
