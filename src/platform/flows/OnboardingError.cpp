#include "platform/flows/OnboardingError.h"

namespace trc::flows {

OnboardingError OnboardingError::cancelled(ErrorPtr inner) {
    OnboardingError e(Case::cancelled);
    e.inner_ = std::move(inner);
    return e;
}

OnboardingError OnboardingError::authenticationFailed(std::optional<std::string> first,
                                                      std::optional<std::string> second,
                                                      std::optional<std::string> third, ErrorPtr inner) {
    OnboardingError e(Case::authenticationFailed);
    e.texts_ = {std::move(first), std::move(second), std::move(third)};
    e.inner_ = std::move(inner);
    return e;
}

OnboardingError OnboardingError::missingArgument(std::string argument, std::string source) {
    OnboardingError e(Case::missingArgument);
    e.texts_[0] = std::move(argument);
    e.texts_[1] = std::move(source);
    return e;
}

std::string OnboardingError::description() const {
    switch (case_) {
    case Case::cancelled:
        return inner_ ? std::string(kCancelledText) + " (" + inner_->description() + ")" : kCancelledText;
    case Case::authenticationFailed: {
        std::string text = "Authentication failed.";
        for (const auto& t : texts_)
            if (t && !t->empty()) text += " " + *t;
        if (inner_) text += " (" + inner_->description() + ")";
        return text;
    }
    case Case::missingArgument:
        return "Missing argument \"" + texts_[0].value_or("") + "\" in " + texts_[1].value_or("");
    }
    return {};
}

ErrorPtr OnboardingError::clone() const { return std::make_shared<OnboardingError>(*this); }

}  // namespace trc::flows
