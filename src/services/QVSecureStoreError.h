#pragma once
// The error the secure store throws. Its raw value 0 (notFound) is the case
// hosts and onboarding know: nothing is stored under the key. A store that
// cannot be read or written (a damaged or tampered file, a missing or wrong
// key file, a full disk) throws the same type with storeFailed, and what()
// says which; both are caught as one type, as callers that only care about
// "no value" do.

#include <stdexcept>
#include <string>

namespace trc::services {

class QVSecureStoreError : public std::runtime_error {
public:
    enum class Code : int { notFound = 0, storeFailed = 1 };

    QVSecureStoreError(Code code, const std::string& message) : std::runtime_error(message), code_(code) {}

    Code code() const { return code_; }
    int rawValue() const { return static_cast<int>(code_); }

private:
    Code code_;
};

}  // namespace trc::services
