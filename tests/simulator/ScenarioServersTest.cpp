#include "simulator/ScenarioServers.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include "simulator/ScenarioExtensions.h"
#include "platform/core/Json.h"

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
    EXPECT_EQ(message(R"({"a": {"status": "200"}})"), "server \"a\": \"status\" must be an HTTP status from 100 to 599");
    EXPECT_EQ(message(R"({"a": {"body": {}}})"), "server \"a\": \"body\" must be a text (write JSON bodies as a string)");
    EXPECT_EQ(message(R"({"a": {"refuse": true, "hang": true}})"), "server \"a\": takes either \"refuse\" or \"hang\", not both");
    EXPECT_EQ(message(R"({"a": {"refuse": false}})"), "server \"a\": \"refuse\" takes only true");
    EXPECT_EQ(message(R"({"a": {"stauts": 200}})"), "server \"a\": unknown member \"stauts\"");
}

}  // namespace
}  // namespace trc::simulator
