#pragma once
// The few messages the library prints for people instead of logging them
// (the platform's print): one line each to the process's standard output.
// Tests redirect the lines to a sink of their own; the redirection is undone
// with the process state. Main thread only.

#include <functional>
#include <string_view>

namespace trc::core {

class StandardOutput {
public:
    using Sink = std::function<void(std::string_view line)>;

    static void print(std::string_view line);
    // Lines go to sink instead of standard output; an empty sink restores it.
    static void redirect(Sink sink);
};

}  // namespace trc::core
