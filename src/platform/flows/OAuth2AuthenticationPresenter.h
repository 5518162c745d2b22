#pragma once
// How the OAuth2 sign-in page is shown: in a web view inside the application
// (VessaWKWebViewPresenter, with a navigation delegate) or in the system's
// web authentication session (VessaASWebAuthenticationSessionPresenter).
// Both show the same headless sign-in screen here; the kind tells the
// onboarding roads which was chosen.

#include <memory>

#include "platform/core/Object.h"
#include "platform/flows/ZELWKNavigationDelegate.h"

namespace trc::flows {

class OAuth2AuthenticationPresenter {
public:
    virtual ~OAuth2AuthenticationPresenter() = default;
    // May the sign-in page open url.
    virtual bool allowsNavigation(const std::string& url) const { return !url.empty(); }

    std::weak_ptr<core::Object> delegate;
};

}  // namespace trc::flows
