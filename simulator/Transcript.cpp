#include "simulator/Transcript.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/core/Json.h"

namespace trc::simulator {

namespace {
// Members of a transcript line in the order people read them; others follow
// in byte order.
constexpr std::array<std::string_view, 11> kMemberOrder = {
    "scenario", "file", "to", "selector", "args", "resolve", "reject", "code", "message", "error", "failed"};

std::size_t rank(std::string_view key) {
    auto it = std::find(kMemberOrder.begin(), kMemberOrder.end(), key);
    return static_cast<std::size_t>(it - kMemberOrder.begin());
}

void writeOrdered(const core::Value& v, std::string& out, int depth) {
    const core::Dictionary* d = v.ifDictionary();
    // Only the line itself and a reject's members are reordered; values the
    // library handed over keep their own (byte) order.
    if (!d || depth > 1) {
        core::Json::write(v, out, core::Json::Style::Tagged);
        return;
    }
    std::vector<std::pair<std::string_view, const core::Value*>> members;
    for (const auto& [k, e] : *d) members.emplace_back(k, &e);
    std::stable_sort(members.begin(), members.end(),
                     [](const auto& a, const auto& b) { return rank(a.first) < rank(b.first); });
    out.push_back('{');
    bool first = true;
    for (const auto& [k, e] : members) {
        if (!first) out.push_back(',');
        first = false;
        core::Json::writeString(k, out);
        out.push_back(':');
        writeOrdered(*e, out, k == "reject" ? depth + 1 : 2);
    }
    out.push_back('}');
}
}  // namespace

Transcript::Transcript(Options options) : options_(std::move(options)) {}

void Transcript::setStep(int step) {
    std::lock_guard<std::mutex> lock(mutex_);
    step_ = step;
}

int Transcript::step() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return step_;
}

std::string Transcript::format(const core::Value& line) {
    std::string out;
    writeOrdered(line, out, 0);
    return out;
}

void Transcript::write(const core::Value& line, bool always) {
    if (options_.out && (always || options_.writeAll)) *options_.out << format(line) << '\n' << std::flush;
}

void Transcript::receive(core::Value line) {
    std::lock_guard<std::mutex> lock(mutex_);
    write(line, false);
    lines_.push_back(line);
    received_.push_back(std::move(line));
}

void Transcript::callback(const std::string& object, const std::string& selector, const core::Array& args) {
    receive(core::Dictionary{{"to", object}, {"selector", selector}, {"args", args}});
}

void Transcript::resolve(const core::Value& value, int step) {
    receive(core::Dictionary{{"resolve", value}, {"step", step}});
}

void Transcript::reject(const core::Value& code, const core::Value& message, const core::Value& error, int step) {
    core::Dictionary members;
    if (!code.isNil()) members.set("code", code);
    if (!message.isNil()) members.set("message", message);
    if (!error.isNil()) members.set("error", error);
    receive(core::Dictionary{{"reject", std::move(members)}, {"step", step}});
}

void Transcript::fail(const std::string& message, int step) {
    std::lock_guard<std::mutex> lock(mutex_);
    core::Value line = core::Dictionary{{"failed", message}, {"step", step}};
    write(line, true);
    if (options_.err) {
        *options_.err << options_.label << ": step " << step << ": " << message << '\n' << std::flush;
    }
    lines_.push_back(std::move(line));
    failures_.push_back({step, message});
}

void Transcript::note(const core::Value& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    write(line, false);
    lines_.push_back(line);
}

std::vector<core::Value> Transcript::takeReceived() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(received_, {});
}

std::vector<core::Value> Transcript::lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

std::vector<Transcript::Failure> Transcript::failures() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failures_;
}

}  // namespace trc::simulator
