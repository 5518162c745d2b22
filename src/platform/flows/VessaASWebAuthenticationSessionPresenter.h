#pragma once
// Shows the OAuth2 sign-in page in the system's web authentication session.

#include "platform/flows/OAuth2AuthenticationPresenter.h"

namespace trc::flows {

class VessaASWebAuthenticationSessionPresenter : public OAuth2AuthenticationPresenter {
public:
    explicit VessaASWebAuthenticationSessionPresenter(std::weak_ptr<core::Object> delegate = {}) {
        this->delegate = std::move(delegate);
    }
};

}  // namespace trc::flows
