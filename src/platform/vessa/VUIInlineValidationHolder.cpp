#include "platform/vessa/VUIInlineValidationHolder.h"

namespace trc::vessa {

VUIInlineValidationHolder::VUIInlineValidationHolder() : validationView_(std::make_shared<VUIInlineValidationView>()) {}

}  // namespace trc::vessa
