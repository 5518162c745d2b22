#include "ScenarioTestSupport.h"

#include <fstream>
#include <stdexcept>

#include "platform/core/Block.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/dispatch/GlobalQueue.h"
#include "platform/dispatch/MainQueue.h"

namespace trc::simulator::test {

namespace {
using core::Args;
using core::Value;

// A bridge as the host reaches it: class methods, per-instance state, calls
// back to host objects, and resolve/reject now, later and from background work.
class TestBridge : public core::Object {
    TRC_OBJECT(TestBridge)
public:
    std::int64_t counter = 0;
    std::weak_ptr<core::Object> delegate;
};

class TestSingleton : public core::Object {
    TRC_OBJECT(TestSingleton)
public:
    Value mode = "idle";
};

class TestSettings : public core::Object {
    TRC_OBJECT(TestSettings)
};

std::shared_ptr<core::Block> blockAt(Args a, std::size_t i) {
    return i < a.size() ? a[i].ifObjectOf<core::Block>() : nullptr;
}

std::shared_ptr<TestSingleton>& singleton() {
    static std::shared_ptr<TestSingleton> s;
    return s;
}
}  // namespace

const core::ClassInfo& TestBridge::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<TestBridge>("TestBridge", core::Object::classInfo())
            .constructible()
            .classMethod("greet:", [](Args a) { return Value("Hello, " + a[0].description()); })
            .method("increment", [](TestBridge& self, Args) { return Value(++self.counter); })
            .method("echo:", [](TestBridge&, Args a) { return a[0]; })
            .method("setDelegate:",
                    [](TestBridge& self, Args a) {
                        self.delegate = a[0].ifObject();
                        return Value();
                    })
            .method("notify:",
                    [](TestBridge& self, Args a) {
                        auto d = self.delegate.lock();
                        if (d && d->respondsToSelector("changed")) return d->perform("changed", a[0]);
                        return Value();
                    })
            .method("notifyUnasked",
                    [](TestBridge& self, Args) {
                        if (auto d = self.delegate.lock()) d->perform("neverListed");
                        return Value();
                    })
            .method("resolve:reject:",
                    [](TestBridge& self, Args a) {
                        blockAt(a, 0)->resolve(Value(self.counter));
                        return Value();
                    })
            .method("fail:reject:",
                    [](TestBridge&, Args a) {
                        blockAt(a, 1)->reject(Value(), Value("it broke"), Value());
                        return Value();
                    })
            .method("resolveLater:reject:",
                    [](TestBridge&, Args a) {
                        auto resolve = blockAt(a, 0);
                        dispatch::MainQueue::shared().asyncAfter(0.5, [resolve] { resolve->resolve(Value(600.0)); });
                        return Value();
                    })
            .method("resolveFromBackground:reject:",
                    [](TestBridge&, Args a) {
                        auto resolve = blockAt(a, 0);
                        dispatch::GlobalQueue::shared().async([resolve] {
                            dispatch::MainQueue::shared().async([resolve] { resolve->resolve(Value("done")); });
                        });
                        return Value();
                    })
            .method("explode", [](TestBridge&, Args) -> Value { throw std::runtime_error("boom"); })
            .property("counter", [](const TestBridge& self) { return Value(self.counter); })
            .property("nothing", [](const TestBridge&) { return Value(); })
            .property("info",
                      [](const TestBridge& self) {
                          return Value(core::Dictionary{{"count", Value(self.counter)},
                                                        {"tags", Value(core::Array{"a", "b"})},
                                                        {"empty", Value::null()}});
                      })
            .build();
    return info;
}

const core::ClassInfo& TestSingleton::classInfo() {
    static const core::ClassInfo& info = core::ClassBuilder<TestSingleton>("TestSingleton", core::Object::classInfo())
                                             .classMethod("sharedInstance",
                                                          [](Args) {
                                                              if (!singleton())
                                                                  singleton() = std::make_shared<TestSingleton>();
                                                              return Value(singleton());
                                                          })
                                             .classMethod("start",
                                                          [](Args) {
                                                              if (!singleton())
                                                                  singleton() = std::make_shared<TestSingleton>();
                                                              singleton()->mode = "running";
                                                              return Value();
                                                          })
                                             .property("mode", [](const TestSingleton& self) { return self.mode; })
                                             .build();
    return info;
}

const core::ClassInfo& TestSettings::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<TestSettings>("TestSettings", core::Object::classInfo())
            .classProperty("connection",
                           [] {
                               return Value(core::Dictionary{{"applicationID", "app1"}, {"port", 443}});
                           })
            .build();
    return info;
}

void registerTestClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    TestBridge::classInfo();
    TestSingleton::classInfo();
    TestSettings::classInfo();
    core::ProcessState::registerReset("test.TestSingleton", [] { singleton().reset(); });
}

ScenarioHarness::ScenarioHarness() { registerTestClasses(); }

void ScenarioHarness::writeFile(const std::filesystem::path& relative, const std::string& content) const {
    std::filesystem::path path = folder_.path() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

ScenarioRunner::Result ScenarioHarness::run(const std::string& text) {
    writeFile("scenario.json", text);
    ScenarioRunner runner({&out_, true, &err_, 5});
    return runner.run(folder_.path() / "scenario.json");
}

std::string ScenarioHarness::failures(const ScenarioRunner::Result& result) {
    std::string out;
    for (const auto& f : result.failures) out += "step " + std::to_string(f.step) + ": " + f.message + "\n";
    return out;
}

}  // namespace trc::simulator::test
