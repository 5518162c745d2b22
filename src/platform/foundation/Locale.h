#pragma once
// A locale by identifier ("en_US", "de_DE"). current() is the device's
// locale: "en_US" unless a test or the simulator sets another; reset with
// the process state. A plain value; main thread for current().
//
// Not every text makes a locale. ICU marks some identifiers bogus
// ("en_US@calendar=", "en@currency=", "en@=gregorian", most of 157 or more
// characters) and its date formatters crash the process on a bogus locale
// or on a name longer than its fixed buffers, so an identifier that comes
// from outside goes through named() (or isValidIdentifier()) first, and the
// date formatter checks again.

#include <optional>
#include <string>
#include <string_view>

namespace trc::foundation {

class Locale {
public:
    Locale() = default;
    explicit Locale(std::string identifier) : identifier_(std::move(identifier)) {}

    // The locale of that identifier, or nothing when it makes no valid one.
    static std::optional<Locale> named(std::string_view identifier);
    // Whether ICU makes a locale it can use of identifier: not bogus, no NUL
    // inside, and the identifier and ICU's name of it shorter than 157
    // characters (ICU's ULOC_FULLNAME_CAPACITY). The empty identifier is
    // ICU's default locale.
    static bool isValidIdentifier(std::string_view identifier);

    static Locale current();
    static void setCurrent(Locale locale);

    const std::string& identifier() const { return identifier_; }
    friend bool operator==(const Locale&, const Locale&) = default;

private:
    std::string identifier_ = "en_US";
};

}  // namespace trc::foundation
