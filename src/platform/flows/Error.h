#pragma once
// The base of every error the flow, foundation and common stand-ins report.
// An error has a domain, a code, a description meant for logs and messages,
// and a localized description meant for people (English here).
//
// Errors travel two ways: inside results and completions as ErrorPtr (shared,
// immutable), and thrown by operations that throw (catch `const Error&` and
// keep `clone()`). Tell kinds apart with Error::as<T>(). Any thread.

#include <exception>
#include <memory>
#include <string>

namespace trc::flows {

class Error;
using ErrorPtr = std::shared_ptr<const Error>;

class Error : public std::exception {
public:
    ~Error() override = default;

    virtual std::string domain() const = 0;
    virtual int code() const = 0;
    virtual std::string description() const = 0;
    // What a person reads; the description unless a kind says otherwise.
    virtual std::string localizedDescription() const { return description(); }
    // A shared copy of this error, of its own kind.
    virtual ErrorPtr clone() const = 0;

    const char* what() const noexcept override;

    // The error as kind T, or nullptr.
    template <class T>
    static const T* as(const ErrorPtr& error) {
        return dynamic_cast<const T*>(error.get());
    }
    template <class T>
    static bool is(const ErrorPtr& error) {
        return as<T>(error) != nullptr;
    }

private:
    mutable std::string what_;
};

}  // namespace trc::flows
