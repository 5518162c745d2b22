#include "simulator/ScenarioServers.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <functional>

#include "platform/core/Json.h"
#include "platform/foundation/FormURLEncoding.h"
#include "simulator/ScenarioExtensions.h"

namespace trc::simulator {
namespace {

core::Dictionary spec(const char* text) { return *core::Json::parse(text).ifDictionary(); }

std::string portOf(const std::string& url) { return url.substr(url.rfind(':') + 1); }

httplib::Client clientFor(const ScenarioServers& servers, const std::string& name) {
    httplib::Client client(servers.baseUrl(name));
    client.set_connection_timeout(2, 0);
    client.set_read_timeout(0, 300000);
    return client;
}

TEST(ScenarioServers, AnswerEveryRequestWithTheirStatusAndBodyAndRecordIt) {
    ScenarioServers servers;
    servers.start(spec(R"({"vorn": {"status": 201, "body": "{\"ok\": true}"}, "empty": {}})"));
    EXPECT_EQ(servers.baseUrl("vorn").rfind("http://127.0.0.1:", 0), 0u);

    auto client = clientFor(servers, "vorn");
    auto res = client.Post("/mobileservices/x?y=1", httplib::Headers{{"X-Device", "d1"}}, "payload", "text/plain");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 201);
    EXPECT_EQ(res->body, "{\"ok\": true}");
    EXPECT_EQ(res->get_header_value("Content-Type"), "application/json");
    ASSERT_TRUE(clientFor(servers, "vorn").Get("/second"));

    core::Value record = *servers.record("vorn");
    EXPECT_EQ(record.find("count")->asInteger(), 2);
    const core::Value& first = record.find("requests")->ifArray()->at(0);
    EXPECT_EQ(*first.find("method"), core::Value("POST"));
    EXPECT_EQ(*first.find("path"), core::Value("/mobileservices/x"));
    EXPECT_EQ(*first.find("headers")->find("X-Device"), core::Value("d1"));
    EXPECT_EQ(first.find("headers")->find("REMOTE_ADDR"), nullptr);

    auto empty = clientFor(servers, "empty").Get("/");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->status, 200);
    EXPECT_EQ(empty->body, "");
    EXPECT_FALSE(servers.record("nobody"));
    EXPECT_EQ(servers.baseUrl("nobody"), "");
}

TEST(ScenarioServers, RefusingServerHasAPortWithNothingListening) {
    ScenarioServers servers;
    servers.start(spec(R"({"down": {"refuse": true}})"));
    EXPECT_NE(portOf(servers.baseUrl("down")), "0");
    auto res = clientFor(servers, "down").Get("/");
    ASSERT_FALSE(res);
    EXPECT_EQ(res.error(), httplib::Error::Connection);
    EXPECT_EQ(servers.record("down")->find("count")->asInteger(), 0);
}

TEST(ScenarioServers, HangingServerRecordsTheRequestNeverAnswersAndStopsWithoutWaiting) {
    ScenarioServers servers;
    servers.start(spec(R"({"slow": {"hang": true}})"));
    auto res = clientFor(servers, "slow").Get("/probe");
    ASSERT_FALSE(res);
    EXPECT_EQ(res.error(), httplib::Error::Read);
    EXPECT_EQ(servers.record("slow")->find("count")->asInteger(), 1);
    // A second request is still hanging on a server thread when the servers stop.
    std::thread late([&] { clientFor(servers, "slow").Get("/late"); });
    late.join();
    servers.stop();
    EXPECT_EQ(servers.record("slow")->find("count")->asInteger(), 2);
}

TEST(ScenarioServers, MalformedServerEntriesAreRefusedWithTheirName) {
    auto message = [](const char* text) {
        try {
            ScenarioServers servers;
            servers.start(spec(text));
        } catch (const ScenarioError& e) {
            return std::string(e.what());
        }
        return std::string("started");
    };
    EXPECT_EQ(message(R"({"a": 1})"), "server \"a\": must be a dictionary");
    EXPECT_EQ(message(R"({"a": {"status": 42}})"), "server \"a\": \"status\" must be an HTTP status from 100 to 599");
    EXPECT_EQ(message(R"({"a": {"status": "200"}})"),
              "server \"a\": \"status\" must be an HTTP status from 100 to 599");
    EXPECT_EQ(message(R"({"a": {"body": {}}})"),
              "server \"a\": \"body\" must be a text (write JSON bodies as a string)");
    EXPECT_EQ(message(R"({"a": {"refuse": true, "hang": true}})"),
              "server \"a\": takes either \"refuse\" or \"hang\", not both");
    EXPECT_EQ(message(R"({"a": {"refuse": false}})"), "server \"a\": \"refuse\" takes only true");
    EXPECT_EQ(message(R"({"a": {"stauts": 200}})"), "server \"a\": unknown member \"stauts\"");
    EXPECT_EQ(message(R"({"a": {"routes": []}})"),
              "server \"a\": \"routes\" must be a dictionary of \"METHOD /path\": {\"status\", \"body\"}");
    for (const char* route : {"get /x", "GET x", "/x", "GET /x?y=1", "GET  /x"})
        EXPECT_EQ(
            message(("{\"a\": {\"routes\": {\"" + std::string(route) + "\": {}}}}").c_str()),
            "server \"a\": route \"" + std::string(route) + "\" must be a method and a path, as \"GET /settings\"");
    EXPECT_EQ(message(R"({"a": {"routes": {"GET /x": {"status": 1}}}})"),
              "server \"a\": route \"GET /x\": \"status\" must be an HTTP status from 100 to 599");
    EXPECT_EQ(message(R"({"a": {"routes": {"GET /x": {"refuse": true}}}})"),
              "server \"a\": route \"GET /x\": unknown member \"refuse\"");
    EXPECT_EQ(message(R"({"a": {"hang": true, "routes": {}}})"),
              "server \"a\": a refusing or hanging server takes no \"status\", \"body\" or \"routes\"");
}

TEST(ScenarioServers, RoutesAnswerByMethodAndPathAndTheServerAnswersTheRest) {
    ScenarioServers servers;
    servers.start(spec(R"({"vorn": {"status": 404, "body": "none", "routes": {
        "GET /settings": {"body": "{\"a\": 1}"}, "POST /settings": {"status": 201}}}})"));
    auto client = clientFor(servers, "vorn");
    auto get = client.Get("/settings?x=1");
    ASSERT_TRUE(get);
    EXPECT_EQ(get->status, 200) << "a route's status is 200 unless given";
    EXPECT_EQ(get->body, "{\"a\": 1}");
    auto post = clientFor(servers, "vorn").Post("/settings", "", "text/plain");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->status, 201);
    EXPECT_EQ(post->body, "");
    auto other = clientFor(servers, "vorn").Get("/settings/more");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, 404);
    EXPECT_EQ(other->body, "none");
    EXPECT_EQ(servers.record("vorn")->find("count")->asInteger(), 3);
}

// The code grant with PKCE (RFC 7636 appendix B's verifier and challenge).
class AuthorizationServer : public ::testing::Test {
protected:
    static constexpr const char* kVerifier = "dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk";
    static constexpr const char* kChallenge = "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM";

    void SetUp() override {
        servers.start(spec(R"({"auth": {"body": "{\"access_token\": \"t\"}",
            "routes": {"POST /token": {"body": "{\"access_token\": \"routed\"}"}}}})"));
    }
    // The Location of an authorization request with that query.
    httplib::Result authorize(const std::string& query) {
        return clientFor(servers, "auth").Get(("/authorize?" + query).c_str());
    }
    std::string codeFrom(const std::string& location) {
        auto pairs = foundation::FormURLEncoding::read(location.substr(location.find('?') + 1));
        return pairs ? foundation::FormURLEncoding::value(*pairs, "code").value_or("") : "";
    }
    std::string issue() {
        auto res = authorize(std::string("response_type=code&client_id=c1&redirect_uri=app%3A%2F%2Fcb&state=s+1"
                                         "&code_challenge_method=S256&code_challenge=") +
                             kChallenge);
        return res ? codeFrom(res->get_header_value("Location")) : "";
    }
    httplib::Result exchange(const std::string& code, const std::string& client = "c1",
                             const std::string& redirect = "app://cb", const std::string& verifier = kVerifier) {
        return clientFor(servers, "auth")
            .Post("/token",
                  foundation::FormURLEncoding::write({{"grant_type", "authorization_code"},
                                                      {"code", code},
                                                      {"client_id", client},
                                                      {"redirect_uri", redirect},
                                                      {"code_verifier", verifier}}),
                  "application/x-www-form-urlencoded");
    }

    ScenarioServers servers;
};

TEST_F(AuthorizationServer, RedirectsWithAOneTimeCodeAndTheStateAndAnswersItsExchangeAsAnyRequest) {
    auto res = authorize(std::string("response_type=code&client_id=c1&redirect_uri=app%3A%2F%2Fcb%3Fx%3D1&state=s+1"
                                     "&code_challenge_method=S256&code_challenge=") +
                         kChallenge);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 302);
    const std::string location = res->get_header_value("Location");
    EXPECT_TRUE(location.starts_with("app://cb?x=1&code=")) << location;
    EXPECT_TRUE(location.ends_with("&state=s+1")) << location;

    const std::string code = issue();
    ASSERT_FALSE(code.empty());
    auto token = exchange(code);
    ASSERT_TRUE(token);
    EXPECT_EQ(token->status, 200);
    EXPECT_EQ(token->body, "{\"access_token\": \"routed\"}");
    auto replay = exchange(code);
    ASSERT_TRUE(replay);
    EXPECT_EQ(replay->status, 400);
    EXPECT_EQ(replay->body, "{\"error\": \"invalid_grant\"}");

    const core::Value record = *servers.record("auth");
    EXPECT_EQ(record.find("count")->asInteger(), 4);
    EXPECT_EQ(*record.find("requests")->ifArray()->at(0).find("path"), core::Value("/authorize"));
}

TEST_F(AuthorizationServer, AnExchangeThatDoesNotMatchTheIssuedCodeIsInvalidGrantAndSpendsTheCode) {
    struct Case {
        const char* name;
        std::function<httplib::Result(const std::string& code)> send;
    };
    const std::vector<Case> cases = {
        {"an unknown code", [&](const std::string& c) { return exchange(c + "x"); }},
        {"another client", [&](const std::string& c) { return exchange(c, "c2"); }},
        {"another redirect URI", [&](const std::string& c) { return exchange(c, "c1", "app://cb/other"); }},
        {"a wrong verifier",
         [&](const std::string& c) { return exchange(c, "c1", "app://cb", "x" + std::string(kVerifier)); }},
        {"no verifier", [&](const std::string& c) { return exchange(c, "c1", "app://cb", ""); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string code = issue();
        auto res = c.send(code);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400);
        EXPECT_EQ(res->body, "{\"error\": \"invalid_grant\"}");
        auto after = exchange(code);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->status, std::string_view(c.name) == "an unknown code" ? 200 : 400)
            << "a failed attempt spends its code";
    }
}

TEST_F(AuthorizationServer, ARequestWithoutPKCEIsSentBackWithAnErrorAndOneWithoutARedirectURIIsRefused) {
    auto plain = authorize(
        "response_type=code&client_id=c1&redirect_uri=app%3A%2F%2Fcb&state=s"
        "&code_challenge_method=plain&code_challenge=abc");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->status, 302);
    EXPECT_EQ(plain->get_header_value("Location"),
              "app://cb?error=invalid_request&error_description=PKCE+with+S256+is+required&state=s");
    auto nowhere = authorize(std::string("response_type=code&client_id=c1&code_challenge=") + kChallenge);
    ASSERT_TRUE(nowhere);
    EXPECT_EQ(nowhere->status, 400);
    EXPECT_FALSE(nowhere->has_header("Location"));
    auto other = clientFor(servers, "auth").Get("/authorize?response_type=token");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, 200) << "only the code grant is answered as an authorization server";
}

}  // namespace
}  // namespace trc::simulator
