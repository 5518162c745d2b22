#include "platform/flows/ConfigurationError.h"

namespace trc::flows {

std::string ConfigurationError::description() const {
    switch (case_) {
    case Case::missingValue: return "The configuration has no value for \"" + key_ + "\".";
    case Case::invalidValue: return "The configuration value for \"" + key_ + "\" cannot be used.";
    case Case::unreadable: return "The configuration cannot be read: " + key_;
    }
    return {};
}

}  // namespace trc::flows
