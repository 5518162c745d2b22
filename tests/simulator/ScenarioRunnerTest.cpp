#include "simulator/ScenarioRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ScenarioTestSupport.h"
#include "platform/core/Json.h"
#include "simulator/ScenarioExtensions.h"

namespace trc::simulator::test {
namespace {

using ::testing::HasSubstr;

class ScenarioRunnerTest : public ::testing::Test {
protected:
    ScenarioHarness harness;

    ScenarioRunner::Result run(const std::string& steps, const std::string& head = "") {
        return harness.run("{" + head + (head.empty() ? "" : ",") + "\"steps\": [" + steps + "]}");
    }
    std::string failures(const ScenarioRunner::Result& r) { return ScenarioHarness::failures(r); }
};

// --- Steps that call the library ---

TEST_F(ScenarioRunnerTest, SendPrefersClassMethodsAndKeepsOneInstancePerClass) {
    auto r = run(R"(
        {"send": "TestBridge", "selector": "greet:", "args": ["host"], "as": "greeting"},
        {"check": "$greeting", "equals": "Hello, host"},
        {"send": "TestBridge", "selector": "increment"},
        {"send": "TestBridge", "selector": "increment", "as": "second"},
        {"check": "$second", "equals": 2},
        {"new": "TestBridge", "as": "fresh"},
        {"send": "$fresh", "selector": "increment", "as": "first"},
        {"check": "$first", "equals": 1},
        {"check": "$fresh", "path": "counter", "equals": 1})");
    EXPECT_TRUE(r.passed()) << failures(r);
}

TEST_F(ScenarioRunnerTest, CallbacksResolvesAndRejectsAreTranscriptLines) {
    auto r = run(R"(
        {"send": "TestBridge", "selector": "setDelegate:", "args": ["$cb"]},
        {"send": "TestBridge", "selector": "notify:", "args": [{"Value": true}]},
        {"send": "TestBridge", "selector": "resolve:reject:", "args": ["$resolve", "$reject"]},
        {"send": "TestBridge", "selector": "fail:reject:", "args": ["$resolve", "$reject"]},
        {"expect": [
            {"to": "cb", "selector": "changed", "args": [{"Value": true}]},
            {"resolve": 0, "step": 3},
            {"reject": {"message": "it broke"}, "step": 4}]})",
                 R"("objects": {"cb": {"answers": ["changed"]}})");
    EXPECT_TRUE(r.passed()) << failures(r);
    EXPECT_THAT(harness.out(), HasSubstr(R"({"to":"cb","selector":"changed","args":[{"Value":true}]})"));
    EXPECT_THAT(harness.out(), HasSubstr(R"({"reject":{"message":"it broke"},"step":4})"));
}

TEST_F(ScenarioRunnerTest, HostObjectReturnsItsValueResolvedWhenSent) {
    auto r = run(R"(
        {"send": "TestBridge", "selector": "setDelegate:", "args": ["$cb"]},
        {"send": "TestBridge", "selector": "echo:", "args": ["stored later"], "as": "reply"},
        {"send": "TestBridge", "selector": "notify:", "args": [1], "as": "answer"},
        {"check": "$answer", "equals": "stored later"})",
                 R"("objects": {"cb": {"answers": ["changed"], "returns": {"changed": "$reply"}}})");
    EXPECT_TRUE(r.passed()) << failures(r);
}

TEST_F(ScenarioRunnerTest, SendOfASelectorTheHostObjectDoesNotAnswerFails) {
    auto r = run(R"(
        {"send": "TestBridge", "selector": "setDelegate:", "args": ["$cb"]},
        {"send": "TestBridge", "selector": "notifyUnasked"},
        {"expect": []})",
                 R"("objects": {"cb": {"answers": ["changed"]}})");
    EXPECT_EQ(failures(r), "step 2: the library sent \"neverListed\" to cb, which does not answer it\n");
}

// --- Time and background work ---

TEST_F(ScenarioRunnerTest, AdvanceRunsWorkAsItFallsDueAndBackgroundWorkSettlesBeforeEachStep) {
    auto r = run(R"(
        {"send": "TestBridge", "selector": "resolveLater:reject:", "args": ["$resolve", "$reject"]},
        {"advance": 0.4},
        {"expect": []},
        {"advance": 0.1},
        {"expect": [{"resolve": 600.0, "step": 1}]},
        {"send": "TestBridge", "selector": "resolveFromBackground:reject:", "args": ["$resolve", "$reject"]},
        {"expect": [{"resolve": "done", "step": 6}]})");
    EXPECT_TRUE(r.passed()) << failures(r);
    EXPECT_THAT(harness.out(), HasSubstr(R"({"resolve":600.0,"step":1})"));
}

// --- Expectations ---

TEST_F(ScenarioRunnerTest, ExpectIsStrictAndExpectSomeTakesASubsequence) {
    const std::string head = R"("objects": {"cb": {"answers": ["changed"]}})";
    const std::string three = R"(
        {"send": "TestBridge", "selector": "setDelegate:", "args": ["$cb"]},
        {"send": "TestBridge", "selector": "notify:", "args": [1]},
        {"send": "TestBridge", "selector": "notify:", "args": [2]},
        {"send": "TestBridge", "selector": "notify:", "args": [3]},)";
    auto some = run(three + R"({"expectSome": [{"to": "cb", "selector": "changed", "args": [1]},
                                              {"to": "cb", "selector": "changed", "args": [{"$any": true}]}]})",
                    head);
    EXPECT_TRUE(some.passed()) << failures(some);

    auto outOfOrder = run(three + R"({"expectSome": [{"to": "cb", "selector": "changed", "args": [3]},
                                                    {"to": "cb", "selector": "changed", "args": [1]}]})",
                          head);
    EXPECT_THAT(failures(outOfOrder),
                HasSubstr("step 5: expected {\"to\":\"cb\",\"selector\":\"changed\",\"args\":[1]}"));

    auto strict = run(three + R"({"expect": [{"to": "cb", "selector": "changed", "args": [1]},
                                            {"to": "cb", "selector": "changed", "args": [2]}]})",
                      head);
    EXPECT_THAT(failures(strict), HasSubstr("step 5: line 3 was not expected"));

    auto kinds = run(three + R"({"expect": [{"to": "cb", "selector": "changed", "args": [1.0]},
                                           {"to": "cb", "selector": "changed", "args": [2]},
                                           {"to": "cb", "selector": "changed", "args": [3]}]})",
                     head);
    EXPECT_EQ(failures(kinds), "step 5: line 1: expected 1.0 at args.0, got 1\n");
}

TEST_F(ScenarioRunnerTest, ExpectConsumesLinesAndUnexpectedLinesAtTheEndDoNotFail) {
    auto r = run(R"(
        {"send": "TestBridge", "selector": "setDelegate:", "args": ["$cb"]},
        {"send": "TestBridge", "selector": "notify:", "args": [1]},
        {"expectSome": []},
        {"expect": []},
        {"send": "TestBridge", "selector": "notify:", "args": [2]})",
                 R"("objects": {"cb": {"answers": ["changed"]}})");
    EXPECT_TRUE(r.passed()) << failures(r);
}

// --- Checks ---

TEST_F(ScenarioRunnerTest, ChecksWalkObjectsDictionariesAndListsWithAbsentAndNullApart) {
    auto r = run(R"(
        {"new": "TestBridge", "as": "b"},
        {"check": "$b", "path": "class", "equals": "TestBridge"},
        {"check": "$b", "path": "nothing", "equals": null},
        {"check": "$b", "path": "info.tags.1", "equals": "b"},
        {"check": "$b", "path": "info.tags.2", "equals": {"$absent": true}},
        {"check": "$b", "path": "info.missing", "equals": {"$absent": true}},
        {"check": "$b", "path": "info.empty", "equals": {"$null": true}},
        {"check": "$b", "path": "nothing.deeper", "equals": {"$absent": true}},
        {"check": "$b", "equals": {"$object": "TestBridge"}},
        {"check": "$b", "call": "increment", "equals": 1},
        {"check": "TestSingleton", "path": "mode", "equals": "idle"},
        {"send": "TestSingleton", "selector": "start"},
        {"check": "TestSingleton", "path": "mode", "equals": {"$match": "run+ing"}},
        {"check": "TestSettings", "path": "connection.applicationID", "equals": "app1"},
        {"check": "defaults", "path": "onboarded", "equals": {"$match": "[0-9A-F-]{36}"}},
        {"check": "defaults", "path": "a.b", "equals": 1},
        {"check": "defaults", "path": "missing", "equals": {"$absent": true}})",
                 R"("defaults": {"onboarded": "6F9619FF-8B86-D011-B42D-00C04FC964FF", "a.b": 1})");
    EXPECT_TRUE(r.passed()) << failures(r);
}

TEST_F(ScenarioRunnerTest, FailedChecksAreReportedWithTheirStepAndTheScenarioGoesOn) {
    auto r = run(R"(
        {"new": "TestBridge", "as": "b"},
        {"check": "$b", "path": "nothing", "equals": {"$absent": true}},
        {"check": "$b", "path": "info.missing", "equals": null},
        {"check": "$b", "path": "counter", "equals": false},
        {"check": "$b", "path": "counter", "equals": 0})");
    EXPECT_EQ(failures(r),
              "step 2: check \"$b\" path \"nothing\": expected {\"$absent\":true}, got null\n"
              "step 3: check \"$b\" path \"info.missing\": expected null, got nothing (absent)\n"
              "step 4: check \"$b\" path \"counter\": expected false, got 0\n");
    EXPECT_THAT(harness.out(),
                HasSubstr(R"({"failed":"check \"$b\" path \"counter\": expected false, got 0","step":4})"));
    EXPECT_THAT(harness.err(), HasSubstr("scenario.json: step 4: check"));
}

// --- Relaunch ---

TEST_F(ScenarioRunnerTest, RelaunchKeepsDefaultsHostObjectsAndServersAndDropsStoredObjectsAndSingletons) {
    auto r = run(R"(
        {"new": "TestBridge", "as": "b"},
        {"send": "TestBridge", "selector": "increment"},
        {"send": "TestSingleton", "selector": "start"},
        {"relaunch": true},
        {"check": "defaults", "path": "kept", "equals": {"$date": "2026-01-31T10:00:00Z"}},
        {"check": "TestSingleton", "path": "mode", "equals": "idle"},
        {"send": "TestBridge", "selector": "increment", "as": "count"},
        {"check": "$count", "equals": 1},
        {"check": "$cb", "equals": {"$object": "HostObject"}},
        {"check": "server:api", "path": "count", "equals": 0},
        {"check": "$b", "equals": null})",
                 R"("defaults": {"kept": {"$date": "2026-01-31T10:00:00Z"}},
                    "objects": {"cb": {"answers": []}},
                    "servers": {"api": {"status": 204}})");
    EXPECT_EQ(failures(r), "step 11: check \"$b\": nothing is named \"$b\"\n");
}

// --- Extensions ---

TEST_F(ScenarioRunnerTest, UserActionsStepsAndCheckReceiversComeFromExtensions) {
    static std::string poked;
    ScenarioExtensions::addUserAction("testPoke", [](ScenarioContext& ctx, const core::Dictionary& step) {
        poked = ctx.resolve(step.get("what")).description() + " in " + ctx.scenarioDir().filename().string();
    });
    ScenarioExtensions::addStep("testDump", [](ScenarioContext& ctx, const core::Dictionary&) {
        ctx.writeToTranscript(core::Dictionary{{"screen", "empty"}});
    });
    ScenarioExtensions::addCheckReceiver(
        "testGadget", [](ScenarioContext&, const core::Dictionary& step) -> std::optional<core::Value> {
            if (step.get("row") == core::Value(1)) return std::nullopt;
            return core::Value(core::Dictionary{{"title", "Gadget"}});
        });
    auto r = run(R"(
        {"user": "testPoke", "what": "$$text"},
        {"testDump": "screen"},
        {"expect": []},
        {"check": "testGadget", "row": 0, "path": "title", "equals": "Gadget"},
        {"check": "testGadget", "row": 1, "equals": {"$absent": true}})");
    EXPECT_TRUE(r.passed()) << failures(r);
    EXPECT_EQ(poked.substr(0, 9), "$text in ");
    EXPECT_THAT(harness.out(), HasSubstr(R"({"screen":"empty"})"));
}

// --- Malformed scenarios and library faults ---

TEST_F(ScenarioRunnerTest, MalformedScenariosFailClearlyBeforeAnyStep) {
    auto badJson = harness.run("{\"steps\": [");
    ASSERT_EQ(badJson.failures.size(), 1u);
    EXPECT_EQ(badJson.failures[0].step, 0);
    EXPECT_THAT(badJson.failures[0].message, HasSubstr("malformed JSON"));

    EXPECT_EQ(failures(harness.run(R"({"scenario": "no steps"})")),
              "step 0: a scenario needs \"steps\", a list of steps\n");
    EXPECT_THAT(failures(run("", R"("bundle": "missing")")), HasSubstr("step 0: the bundle folder"));
    EXPECT_EQ(failures(run("", R"("servers": {"x": {"hang": true, "status": 200}})")),
              "step 0: server \"x\": a refusing or hanging server takes no \"status\", \"body\" or \"routes\"\n");
}

TEST_F(ScenarioRunnerTest, AMalformedStepStopsTheScenarioNamingTheStep) {
    struct Case {
        const char* step;
        const char* failure;
    } cases[] = {
        {R"({"tickle": 1})", "step 2: unknown step kind \"tickle\"\n"},
        {R"({"send": "NoSuchBridge", "selector": "x"})", "step 2: no class \"NoSuchBridge\"\n"},
        {R"({"send": "TestBridge", "selector": "nope:"})", "step 2: class \"TestBridge\" has no selector \"nope:\"\n"},
        {R"({"send": "TestBridge", "selector": "echo:", "args": [1, 2]})",
         "step 2: \"echo:\" of class TestBridge takes 1 argument(s), 2 given\n"},
        {R"({"send": "$ghost", "selector": "x"})", "step 2: nothing is named \"$ghost\"\n"},
        {R"({"user": "noSuchAction"})", "step 2: no user action \"noSuchAction\"\n"},
        {R"({"check": "noSuchReceiver", "equals": 1})",
         "step 2: check \"noSuchReceiver\": no check receiver \"noSuchReceiver\" (not a class either)\n"},
        {R"({"check": "$b", "path": "bogus", "equals": 1})",
         "step 2: check \"$b\" path \"bogus\": an object of class TestBridge has no property \"bogus\"\n"},
        {R"({"advance": -1})", "step 2: \"advance\" takes a number of seconds, zero or more\n"},
        {R"({"send": "TestBridge", "selector": "explode"})", "step 2: boom\n"},
        {R"({"advance": 1, "relaunch": true})", "step 2: a step of more than one kind: advance and relaunch\n"},
        {R"({"send": "TestBridge", "selector": "echo:", "args": [{"$any": true}]})",
         "step 2: {\"$any\": ...} stands only in expect lines and equals\n"},
    };
    for (const Case& c : cases) {
        auto r =
            run(std::string(R"({"new": "TestBridge", "as": "b"},)") + c.step + R"(, {"check": "$b", "equals": 1})");
        EXPECT_EQ(failures(r), c.failure) << c.step;
    }
}

}  // namespace
}  // namespace trc::simulator::test
