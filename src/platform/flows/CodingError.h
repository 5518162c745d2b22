#pragma once
// Bytes that a coder cannot turn back into a value, or a value it cannot
// write.

#include <string>

#include "platform/flows/Error.h"

namespace trc::flows {

class CodingError : public Error {
public:
    static constexpr const char* kDomain = "ZELFoundation.CodingError";

    explicit CodingError(std::string detail) : detail_(std::move(detail)) {}

    std::string domain() const override { return kDomain; }
    int code() const override { return 0; }
    std::string description() const override { return "The data cannot be coded: " + detail_; }
    ErrorPtr clone() const override { return std::make_shared<CodingError>(*this); }

private:
    std::string detail_;
};

}  // namespace trc::flows
