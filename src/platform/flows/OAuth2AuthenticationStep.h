#pragma once
// Signs the person in with OAuth2: the authorization code grant of a public
// client with PKCE (S256). The sign-in screen is shown through the context's
// presenter with the authorization URL (response_type=code, client_id,
// redirect_uri, the code challenge and a fresh state); the page then reports
// where the authorization server sends the person, and the redirect URL ends
// the sign-in as OAuth2Redirect reads it. Its code, and only that code, is
// exchanged at the token endpoint (POST, form-encoded, with grant_type,
// redirect_uri, client_id and the code verifier), never through the URL
// cache; OAuth2TokenResponse reads the answer. The whole answer is kept in
// the context's credential store and every request of the context's session
// then carries the token ("Authorization: Bearer ...").
//
// Ends with OnboardingError cancelled (inner OAuth2Error cancelled) when the
// person cancels, and authenticationFailed with the inner error as its
// fourth value otherwise: OAuth2Error for a refusal, a wrong redirect or a
// bad token answer, the URLError of the token request when the server cannot
// be reached. Restore uses the kept token without the server when offline
// restore is allowed, else signs in again the same way. Reset forgets the
// token. Never logs, nor puts into an error, the code, verifier or token.

#include <memory>

#include "platform/flows/OAuth2AuthenticationPresenter.h"
#include "platform/flows/OnboardingStep.h"

namespace trc::flows {

class OAuth2AuthenticationParameters;

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

    // The authorization endpoint with the request's parameters added.
    static std::string authorizationURL(const OAuth2AuthenticationParameters& params, const std::string& codeChallenge,
                                        const std::string& state);
    // The S256 code challenge of a verifier (RFC 7636 §4.2).
    static std::string codeChallenge(const std::string& verifier);
    // Makes every request of the context's session carry the token.
    static void authorize(const OnboardingContext& context, const std::string& accessToken);

private:
    std::shared_ptr<OAuth2AuthenticationPresenter> presenter_;
    OnboardingInfoKey authorizationInfoKey_;
    OnboardingInfoKey clientCredentialsInfoKey_;
};

}  // namespace trc::flows
