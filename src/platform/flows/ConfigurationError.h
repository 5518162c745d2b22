#pragma once
// A configuration that cannot be used: a required value is missing, or a
// value is of the wrong kind or not a usable URL. Thrown by transformers and
// reported by the configuration loader and the settings steps.

#include <string>

#include "platform/flows/Error.h"

namespace trc::flows {

class ConfigurationError : public Error {
public:
    enum class Case { missingValue, invalidValue, unreadable };

    static constexpr const char* kDomain = "ZELFoundation.ConfigurationError";

    ConfigurationError(Case c, std::string key) : case_(c), key_(std::move(key)) {}

    Case errorCase() const { return case_; }
    const std::string& key() const { return key_; }

    std::string domain() const override { return kDomain; }
    int code() const override { return static_cast<int>(case_); }
    std::string description() const override;
    ErrorPtr clone() const override { return std::make_shared<ConfigurationError>(*this); }

private:
    Case case_;
    std::string key_;
};

}  // namespace trc::flows
