#pragma once
// A locale by identifier ("en_US", "de_DE"). current() is the device's
// locale: "en_US" unless a test or the simulator sets another; reset with
// the process state. A plain value; main thread for current().

#include <string>

namespace trc::foundation {

class Locale {
public:
    Locale() = default;
    explicit Locale(std::string identifier) : identifier_(std::move(identifier)) {}

    static Locale current();
    static void setCurrent(Locale locale);

    const std::string& identifier() const { return identifier_; }
    friend bool operator==(const Locale&, const Locale&) = default;

private:
    std::string identifier_ = "en_US";
};

}  // namespace trc::foundation
