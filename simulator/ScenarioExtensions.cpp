#include "simulator/ScenarioExtensions.h"

#include <map>

namespace trc::simulator {

namespace {
struct Tables {
    std::map<std::string, ScenarioExtensions::UserAction> actions;
    std::map<std::string, ScenarioExtensions::CheckReceiver> receivers;
    std::map<std::string, ScenarioExtensions::StepHandler> steps;
    std::map<std::string, ScenarioExtensions::ProcessStart> starts;
};
Tables& tables() {
    static Tables t;
    return t;
}
template <class M>
const typename M::mapped_type* lookUp(const M& m, const std::string& key) {
    auto it = m.find(key);
    return it == m.end() ? nullptr : &it->second;
}
}  // namespace

void ScenarioExtensions::addUserAction(const std::string& name, UserAction action) {
    tables().actions[name] = std::move(action);
}
void ScenarioExtensions::addCheckReceiver(const std::string& name, CheckReceiver receiver) {
    tables().receivers[name] = std::move(receiver);
}
void ScenarioExtensions::addStep(const std::string& key, StepHandler handler) {
    tables().steps[key] = std::move(handler);
}

void ScenarioExtensions::addProcessStart(const std::string& name, ProcessStart start) {
    tables().starts[name] = std::move(start);
}
void ScenarioExtensions::processStarted() {
    for (const auto& [name, start] : tables().starts) {
        if (start) start();
    }
}

const ScenarioExtensions::UserAction* ScenarioExtensions::userAction(const std::string& name) {
    return lookUp(tables().actions, name);
}
const ScenarioExtensions::CheckReceiver* ScenarioExtensions::checkReceiver(const std::string& name) {
    return lookUp(tables().receivers, name);
}
const ScenarioExtensions::StepHandler* ScenarioExtensions::step(const std::string& key) {
    return lookUp(tables().steps, key);
}

}  // namespace trc::simulator
