#include "platform/flows/OAuth2AuthenticationStep.h"

#include <sodium.h>

#include "platform/core/Base64.h"
#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/CodableStoring.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/OAuth2AuthenticationParameters.h"
#include "platform/flows/OAuth2Error.h"
#include "platform/flows/OAuth2Redirect.h"
#include "platform/flows/OAuth2TokenResponse.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/flows/WebsiteDataStore.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/foundation/FormURLEncoding.h"

namespace trc::flows {

namespace {

using foundation::FormURLEncoding;

class BearerObserver : public ZELURLSessionObserving {
public:
    void prepare(URLRequest& request) override { request.setValue("Bearer " + token, "Authorization"); }
    std::string token;
};

// 32 random bytes as 43 characters of base64url: a verifier of the length
// RFC 7636 recommends, and a state nobody can guess.
std::string randomText() {
    unsigned char raw[32];
    randombytes_buf(raw, sizeof raw);
    return core::Base64::encodeURLSafe(raw, sizeof raw);
}

std::string hostOf(const std::string& url) {
    auto start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    return url.substr(start, url.find_first_of("/:?#", start) - start);
}

OnboardingResult authFailed(ErrorPtr inner) {
    return OnboardingResult::failed(
        OnboardingError::authenticationFailed(std::nullopt, std::nullopt, std::nullopt, std::move(inner)));
}

using Finish = std::function<void(OnboardingResult)>;

// Exchanges the code the redirect carried for a token.
void exchange(const OnboardingContext& context, const OAuth2AuthenticationParameters& params, const std::string& code,
              const std::string& verifier, Finish finish) {
    URLRequest request(params.tokenEndpointURL);
    request.httpMethod = "POST";
    // Codes are one-time and answers secret: nothing of this request may be
    // answered from, or kept in, the URL cache.
    request.cachePolicy = URLRequest::CachePolicy::reloadIgnoringLocalCacheData;
    request.setValue("application/x-www-form-urlencoded", "Content-Type");
    request.setValue("application/json", "Accept");
    const std::string form = FormURLEncoding::write({{"grant_type", "authorization_code"},
                                                     {"code", code},
                                                     {"redirect_uri", params.redirectURL},
                                                     {"client_id", params.clientID},
                                                     {"code_verifier", verifier}});
    request.httpBody.assign(form.begin(), form.end());
    context.zelURLSession()
        ->dataTask(request,
                   [finish, context, code, verifier](core::Data body, std::optional<HTTPURLResponse> response,
                                                     ErrorPtr error) {
                       if (error) return finish(authFailed(error));
                       OAuth2TokenResponse answer =
                           OAuth2TokenResponse::read(response ? response->statusCode : 0, body, {code, verifier});
                       if (answer.error) return finish(authFailed(answer.error));
                       try {
                           context.credentialStore->put(body, OAuth2AuthenticationStep::kTokenKey);
                       } catch (...) {
                           return finish(authFailed(UnexpectedError::fromCurrentException()));
                       }
                       OAuth2AuthenticationStep::authorize(context, *answer.accessToken);
                       finish(OnboardingResult::success(context));
                   })
        ->resume();
}

}  // namespace

OAuth2AuthenticationStep::OAuth2AuthenticationStep(std::shared_ptr<OAuth2AuthenticationPresenter> presenter,
                                                   OnboardingInfoKey authorizationInfoKey,
                                                   OnboardingInfoKey clientCredentialsInfoKey)
    : presenter_(std::move(presenter)),
      authorizationInfoKey_(std::move(authorizationInfoKey)),
      clientCredentialsInfoKey_(std::move(clientCredentialsInfoKey)) {}

std::string OAuth2AuthenticationStep::codeChallenge(const std::string& verifier) {
    unsigned char hash[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(hash, reinterpret_cast<const unsigned char*>(verifier.data()), verifier.size());
    return core::Base64::encodeURLSafe(hash, sizeof hash);
}

std::string OAuth2AuthenticationStep::authorizationURL(const OAuth2AuthenticationParameters& params,
                                                       const std::string& codeChallenge, const std::string& state) {
    const std::string& endpoint = params.authorizationEndpointURL;
    std::string url = endpoint.substr(0, endpoint.find('#'));
    // An endpoint may carry a query of its own (RFC 6749 §3.1): ours follows it.
    if (url.find('?') == std::string::npos)
        url.push_back('?');
    else if (url.back() != '?' && url.back() != '&')
        url.push_back('&');
    url += FormURLEncoding::write({{"response_type", "code"},
                                   {"client_id", params.clientID},
                                   {"redirect_uri", params.redirectURL},
                                   {"code_challenge_method", "S256"},
                                   {"code_challenge", codeChallenge},
                                   {"state", state}});
    return url;
}

void OAuth2AuthenticationStep::authorize(const OnboardingContext& context, const std::string& accessToken) {
    const auto& session = context.zelURLSession();
    for (const auto& o : session->observers())
        if (auto bearer = std::dynamic_pointer_cast<BearerObserver>(o)) {
            bearer->token = accessToken;
            return;
        }
    auto bearer = std::make_shared<BearerObserver>();
    bearer->token = accessToken;
    session->registerObserver(bearer);
}

void OAuth2AuthenticationStep::onboard(const OnboardingContext& context, Completion completion) {
    const auto* found = context.infoValue<OAuth2AuthenticationParameters>(authorizationInfoKey_);
    if (!found) {
        completion(OnboardingResult::failed(
            OnboardingError::missingArgument(authorizationInfoKey_.rawValue(), "OAuth2AuthenticationStep")));
        return;
    }
    const OAuth2AuthenticationParameters params = *found;
    auto presenter = context.presentationDelegate ? context.presentationDelegate
                                                  : std::make_shared<ModalUIViewControllerPresenter>();
    auto pending = std::make_shared<Completion>(std::move(completion));
    Finish finish = [presenter, pending](OnboardingResult result) {
        if (!*pending) return;
        auto done = std::move(*pending);
        *pending = nullptr;
        presenter->dismiss([done, result] { done(result); });
    };
    const std::string verifier = randomText();
    const std::string state = randomText();
    auto screen = std::make_shared<AuthenticationViewController>();
    screen->authorizationURL = authorizationURL(params, codeChallenge(verifier), state);
    if (presenter_ && !presenter_->allowsNavigation(screen->authorizationURL)) {
        finish(authFailed(OAuth2Error(OAuth2Error::Case::authorizationFailed, nullptr, "page not allowed").clone()));
        return;
    }
    screen->onNavigation = [finish, context, params, verifier, state](const std::string& url) {
        std::optional<OAuth2Redirect> redirect = OAuth2Redirect::read(url, params.redirectURL, state);
        if (!redirect) return false;
        WebsiteDataStore::defaultStore().addRecord(hostOf(params.authorizationEndpointURL),
                                                   {"Cookies", "LocalStorage"});
        if (redirect->error) {
            finish(authFailed(redirect->error));
        } else {
            exchange(context, params, *redirect->code, verifier, finish);
        }
        return true;
    };
    screen->onCancel = [finish] {
        finish(OnboardingResult::failed(OnboardingError::cancelled(OAuth2Error(OAuth2Error::Case::cancelled).clone())));
    };
    presenter->present(screen, [finish](ErrorPtr error) {
        if (error) finish(OnboardingResult::failed(OnboardingError::cancelled(error)));
    });
}

void OAuth2AuthenticationStep::restore(const OnboardingContext& context, Completion completion) {
    if (isAllowingOfflineRestore) {
        try {
            if (auto kept = context.credentialStore->get(kTokenKey)) {
                if (std::optional<std::string> token = OAuth2TokenResponse::read(200, *kept).accessToken) {
                    authorize(context, *token);
                    completion(OnboardingResult::success(context));
                    return;
                }
            }
        } catch (const std::exception&) {
            // A token that cannot be read is replaced by signing in again.
        }
    }
    onboard(context, std::move(completion));
}

void OAuth2AuthenticationStep::reset(const OnboardingContext& context, ResetCompletion completion) {
    try {
        if (context.credentialStore) context.credentialStore->remove(kTokenKey);
    } catch (const std::exception&) {
        // The store step's reset deletes the whole store.
    }
    completion();
}

}  // namespace trc::flows
