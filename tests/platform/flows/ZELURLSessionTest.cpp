#include "platform/flows/ZELURLSession.h"

#include <httplib.h>

#include <atomic>
#include <thread>

#include "FlowTestSupport.h"
#include "platform/flows/URLError.h"
#include "testsupport/ProcessStateReset.h"
#include "testsupport/ZELURLSessionSeam.h"

namespace trc::flows::test {
namespace {

struct Answer {
    core::Data body;
    std::optional<HTTPURLResponse> response;
    ErrorPtr error;
    bool done = false;
};

class Server {
public:
    Server() {
        server.Get("/ok", [this](const httplib::Request& req, httplib::Response& res) {
            lastHeader = req.get_header_value("X-Added");
            res.status = 418;
            res.set_header("X-Answer", "yes");
            res.set_content("body", "text/plain");
        });
        server.Get("/hang", [this](const httplib::Request&, httplib::Response& res) {
            while (!stopping) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            res.set_content("late", "text/plain");
        });
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Server() {
        stopping = true;
        server.stop();
        thread.join();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }

    httplib::Server server;
    int port = 0;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::string lastHeader;
};

class AddHeader : public ZELURLSessionObserving {
public:
    void prepare(URLRequest& request) override { request.setValue("from-observer", "X-Added"); }
};

class NotConnected : public URLTransport {
public:
    Outcome perform(const URLRequest& r, const URLSessionConfiguration&, const std::atomic<bool>&) override {
        return {std::nullopt, {}, std::make_shared<URLError>(URLError::notConnectedToInternet, r.url)};
    }
};

class URLSessionTest : public FlowTest {
protected:
    Answer fetch(const std::shared_ptr<ZELURLSession>& session, URLRequest request) {
        auto answer = std::make_shared<Answer>();
        session
            ->dataTask(std::move(request),
                       [answer](core::Data b, std::optional<HTTPURLResponse> r, ErrorPtr e) {
                           *answer = {std::move(b), std::move(r), std::move(e), true};
                       })
            ->resume();
        EXPECT_TRUE(pumpUntil([&] { return answer->done; }));
        return *answer;
    }
};

TEST_F(URLSessionTest, AnswersWithStatusHeadersAndBodyAndSendsWhatObserversAdd) {
    Server server;
    auto session = std::make_shared<ZELURLSession>();
    auto observer = std::make_shared<AddHeader>();
    session->registerObserver(observer);
    session->registerObserver(observer);
    EXPECT_EQ(session->observers().size(), 1u) << "one observer object counts once";
    auto a = fetch(session, URLRequest(server.url("/ok")));
    ASSERT_FALSE(a.error) << a.error->description();
    EXPECT_EQ(a.response->statusCode, 418);
    EXPECT_EQ(a.response->value("x-answer"), "yes");
    EXPECT_EQ(std::string(a.body.begin(), a.body.end()), "body");
    EXPECT_EQ(server.lastHeader, "from-observer");
}

TEST_F(URLSessionTest, ARefusedPortIsCannotConnectAndAHangingServerTimesOut) {
    int freePort;
    {
        Server gone;
        freePort = gone.port;
    }
    auto refused =
        fetch(std::make_shared<ZELURLSession>(), URLRequest("http://127.0.0.1:" + std::to_string(freePort) + "/x"));
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code(), URLError::cannotConnectToHost);
    EXPECT_FALSE(refused.response);

    Server server;
    URLSessionConfiguration quick;
    quick.timeoutIntervalForRequest = 0.3;
    auto hung = fetch(std::make_shared<ZELURLSession>(quick), URLRequest(server.url("/hang"), 60));
    ASSERT_TRUE(hung.error);
    EXPECT_EQ(hung.error->code(), URLError::timedOut);
    EXPECT_EQ(hung.error->localizedDescription(), "The request timed out.");
    server.stopping = true;
}

TEST_F(URLSessionTest, AnInjectedTransportStandsForADeviceWithoutNetwork) {
    ZELURLSessionSeam::setDefaultTransport(std::make_shared<NotConnected>());
    auto offline = fetch(std::make_shared<ZELURLSession>(), URLRequest("http://127.0.0.1:9/x"));
    ASSERT_TRUE(offline.error);
    EXPECT_EQ(offline.error->code(), -1009);
    EXPECT_EQ(offline.error->localizedDescription(), "The Internet connection appears to be offline.");
    core::ProcessStateReset::resetAll();
    EXPECT_FALSE(std::dynamic_pointer_cast<NotConnected>(ZELURLSession::defaultTransport()));
}

TEST_F(URLSessionTest, MalformedAndForeignSchemeURLsFailWithoutCrashing) {
    auto session = std::make_shared<ZELURLSession>();
    EXPECT_EQ(fetch(session, URLRequest("ht tp://bad url")).error->code() < 0, true);
    EXPECT_EQ(fetch(session, URLRequest("file:///etc/passwd")).error->code(), URLError::unsupportedURL);
}

}  // namespace
}  // namespace trc::flows::test
