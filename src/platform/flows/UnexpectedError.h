#pragma once
// An error that no kind of its own describes: a step or a handler failed by
// throwing something that is not an Error. The flow reports it instead of
// letting the exception escape.

#include <string>

#include "platform/flows/Error.h"

namespace trc::flows {

class UnexpectedError : public Error {
public:
    static constexpr const char* kDomain = "ZELVessaFlows.UnexpectedError";

    explicit UnexpectedError(std::string detail) : detail_(std::move(detail)) {}

    // The error a caught exception stands for: an Error as it is, anything
    // else wrapped. Call inside a catch block only.
    static ErrorPtr fromCurrentException();

    std::string domain() const override { return kDomain; }
    int code() const override { return 1; }
    std::string description() const override { return "Unexpected failure: " + detail_; }
    ErrorPtr clone() const override { return std::make_shared<UnexpectedError>(*this); }

private:
    std::string detail_;
};

}  // namespace trc::flows
