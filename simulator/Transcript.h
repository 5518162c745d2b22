#pragma once
// The transcript of one scenario run: every line the host receives (callbacks
// to its objects, resolve and reject calls), the failures, and what "dump"
// steps write for people. Lines are host values written as JSON Lines in the
// tagged style of core::Json (a double always with a fraction, objects as
// {"$object": "<class>"}), so a line read back is the same value.
//
// Received lines are also kept for the next expect step, which takes them all
// (takeReceived). Failures and dump lines are written but never expected.
// Output: every line when writeAll, else only failures; each failure also as a
// readable line on err naming the file and step.
//
// Owned by the scenario runner; host objects and recording blocks hold it
// weakly. Lines may arrive from any thread; a mutex keeps them in order.

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::simulator {

class Transcript {
public:
    struct Options {
        std::ostream* out = nullptr;  // JSON Lines
        bool writeAll = true;         // false: only failures
        std::ostream* err = nullptr;  // readable failure lines
        std::string label;            // the scenario file, for err
    };
    struct Failure {
        int step = 0;
        std::string message;
    };

    explicit Transcript(Options options);

    // The step running now: the step of failures and of blocks made now.
    void setStep(int step);
    int step() const;

    // {"to": object, "selector": selector, "args": [...]}
    void callback(const std::string& object, const std::string& selector, const core::Array& args);
    // {"resolve": value, "step": step}
    void resolve(const core::Value& value, int step);
    // {"reject": {"code", "message", "error"}, "step": step}; nil members left out.
    void reject(const core::Value& code, const core::Value& message, const core::Value& error, int step);
    // {"failed": message, "step": step}
    void fail(const std::string& message, int step);
    void fail(const std::string& message) { fail(message, step()); }
    // A line for people (dump); written, never expected.
    void note(const core::Value& line);

    // Received lines since the previous call.
    std::vector<core::Value> takeReceived();
    std::vector<core::Value> lines() const;
    std::vector<Failure> failures() const;

    // One line of JSON, members in the order people read them.
    static std::string format(const core::Value& line);

private:
    void write(const core::Value& line, bool always);
    void receive(core::Value line);

    Options options_;
    mutable std::mutex mutex_;
    int step_ = 0;
    std::vector<core::Value> lines_;
    std::vector<core::Value> received_;
    std::vector<Failure> failures_;
};

}  // namespace trc::simulator
