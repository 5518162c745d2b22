#pragma once
// Signs the person in with OAuth2 (authorization code with a code verifier).
// The sign-in screen is shown through the context's presenter; once the
// person has signed in, the step asks the token endpoint for a token
// (POST, form-encoded) and expects a JSON answer with "access_token". The
// token is kept in the context's credential store and every request of the
// context's session then carries it ("Authorization: Bearer ...").
//
// Ends with OnboardingError cancelled (inner OAuth2Error cancelled) when the
// person cancels, and authenticationFailed with the inner error as its
// fourth value otherwise: OAuth2Error for a refusal or a bad token answer,
// the URLError of the token request when the server cannot be reached.
// Restore uses the kept token without the server when offline restore is
// allowed, else signs in again. Reset forgets the token. Never logs it.

#include <memory>

#include "platform/flows/OAuth2AuthenticationPresenter.h"
#include "platform/flows/OnboardingStep.h"

namespace trc::flows {

class OAuth2AuthenticationStep : public OnboardingStep {
public:
    static constexpr const char* kTokenKey = "org.trc.flows.oauth2.token";

    OAuth2AuthenticationStep(std::shared_ptr<OAuth2AuthenticationPresenter> presenter,
                             OnboardingInfoKey authorizationInfoKey = OnboardingInfoKey::oauth2AuthenticationParameters,
                             OnboardingInfoKey clientCredentialsInfoKey =
                                 OnboardingInfoKey::oauth2ClientCredentialsAuthenticationParameters);

    const std::shared_ptr<OAuth2AuthenticationPresenter>& presenter() const { return presenter_; }
    bool isAllowingOfflineRestore = false;

    void onboard(const OnboardingContext& context, Completion completion) override;
    void restore(const OnboardingContext& context, Completion completion) override;
    void reset(const OnboardingContext& context, ResetCompletion completion) override;

    // The "access_token" text of a token endpoint's answer; nothing when the
    // answer is not JSON or holds no such text.
    static std::optional<std::string> accessToken(const core::Data& response);
    // Makes every request of the context's session carry the token.
    static void authorize(const OnboardingContext& context, const std::string& accessToken);

private:
    std::shared_ptr<OAuth2AuthenticationPresenter> presenter_;
    OnboardingInfoKey authorizationInfoKey_;
    OnboardingInfoKey clientCredentialsInfoKey_;
};

}  // namespace trc::flows
