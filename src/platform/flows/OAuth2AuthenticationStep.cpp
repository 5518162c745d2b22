#include "platform/flows/OAuth2AuthenticationStep.h"

#include <sodium.h>

#include "platform/core/Base64.h"
#include "platform/core/Json.h"
#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/CodableStoring.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/OAuth2AuthenticationParameters.h"
#include "platform/flows/OAuth2Error.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/WebsiteDataStore.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/foundation/URL.h"

namespace trc::flows {

namespace {

class BearerObserver : public ZELURLSessionObserving {
public:
    void prepare(URLRequest& request) override { request.setValue("Bearer " + token, "Authorization"); }
    std::string token;
};

std::string randomText() {
    unsigned char raw[32];
    randombytes_buf(raw, sizeof raw);
    char out[sodium_base64_ENCODED_LEN(32, sodium_base64_VARIANT_URLSAFE_NO_PADDING)];
    sodium_bin2base64(out, sizeof out, raw, sizeof raw, sodium_base64_VARIANT_URLSAFE_NO_PADDING);
    return out;
}

std::string challengeOf(const std::string& verifier) {
    unsigned char hash[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(hash, reinterpret_cast<const unsigned char*>(verifier.data()), verifier.size());
    char out[sodium_base64_ENCODED_LEN(crypto_hash_sha256_BYTES, sodium_base64_VARIANT_URLSAFE_NO_PADDING)];
    sodium_bin2base64(out, sizeof out, hash, sizeof hash, sodium_base64_VARIANT_URLSAFE_NO_PADDING);
    return out;
}

std::string formEncode(const std::string& s) {
    return foundation::URL::addingPercentEncoding(s, foundation::URL::AllowedCharacters::Unreserved);
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

}  // namespace

OAuth2AuthenticationStep::OAuth2AuthenticationStep(std::shared_ptr<OAuth2AuthenticationPresenter> presenter,
                                                   OnboardingInfoKey authorizationInfoKey,
                                                   OnboardingInfoKey clientCredentialsInfoKey)
    : presenter_(std::move(presenter)),
      authorizationInfoKey_(std::move(authorizationInfoKey)),
      clientCredentialsInfoKey_(std::move(clientCredentialsInfoKey)) {}

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
    const auto* params = context.infoValue<OAuth2AuthenticationParameters>(authorizationInfoKey_);
    if (!params) {
        completion(OnboardingResult::failed(
            OnboardingError::missingArgument(authorizationInfoKey_.rawValue(), "OAuth2AuthenticationStep")));
        return;
    }
    auto presenter = context.presentationDelegate ? context.presentationDelegate
                                                  : std::make_shared<ModalUIViewControllerPresenter>();
    auto pending = std::make_shared<Completion>(std::move(completion));
    auto finish = [presenter, pending](OnboardingResult result) {
        if (!*pending) return;
        auto done = std::move(*pending);
        *pending = nullptr;
        presenter->dismiss([done, result] { done(result); });
    };
    const std::string verifier = randomText();
    const std::string state = randomText();
    auto screen = std::make_shared<AuthenticationViewController>();
    screen->authorizationURL = params->authorizationEndpointURL + "?response_type=code&client_id=" +
                               formEncode(params->clientID) + "&redirect_uri=" + formEncode(params->redirectURL) +
                               "&code_challenge_method=S256&code_challenge=" + challengeOf(verifier) +
                               "&state=" + state;
    if (presenter_ && !presenter_->allowsNavigation(screen->authorizationURL)) {
        finish(authFailed(OAuth2Error(OAuth2Error::Case::authorizationFailed, nullptr, "page not allowed").clone()));
        return;
    }
    OAuth2AuthenticationParameters p = *params;
    screen->onOutcome = [finish, context, p, verifier](AuthenticationViewController::Outcome outcome) {
        using O = AuthenticationViewController::Outcome;
        if (outcome == O::cancel)
            return finish(OnboardingResult::failed(
                OnboardingError::cancelled(OAuth2Error(OAuth2Error::Case::cancelled).clone())));
        if (outcome == O::failure)
            return finish(authFailed(OAuth2Error(OAuth2Error::Case::authorizationFailed).clone()));
        WebsiteDataStore::defaultStore().addRecord(hostOf(p.authorizationEndpointURL), {"Cookies", "LocalStorage"});
        URLRequest request(p.tokenEndpointURL);
        request.httpMethod = "POST";
        request.cachePolicy = URLRequest::CachePolicy::reloadIgnoringLocalCacheData;
        request.setValue("application/x-www-form-urlencoded", "Content-Type");
        std::string form = "grant_type=authorization_code&code=" + randomText() +
                           "&redirect_uri=" + formEncode(p.redirectURL) + "&client_id=" + formEncode(p.clientID) +
                           "&code_verifier=" + verifier;
        request.httpBody.assign(form.begin(), form.end());
        context.zelURLSession()->dataTask(request, [finish, context](core::Data body, std::optional<HTTPURLResponse> r,
                                                                     ErrorPtr error) {
            if (error) return finish(authFailed(error));
            if (!r || r->statusCode < 200 || r->statusCode > 299)
                return finish(authFailed(OAuth2Error(OAuth2Error::Case::tokenRequestFailed, nullptr,
                                                     "status " + std::to_string(r ? r->statusCode : 0))
                                             .clone()));
            try {
                std::optional<std::string> token = accessToken(body);
                if (!token || token->empty()) throw std::runtime_error("no token");
                context.credentialStore->put(body, kTokenKey);
                authorize(context, *token);
                finish(OnboardingResult::success(context));
            } catch (const Error& e) {
                finish(authFailed(e.clone()));
            } catch (const std::exception&) {
                finish(authFailed(OAuth2Error(OAuth2Error::Case::invalidTokenResponse).clone()));
            }
        })->resume();
    };
    presenter->present(screen, [finish](ErrorPtr error) {
        if (error) finish(OnboardingResult::failed(OnboardingError::cancelled(error)));
    });
}

std::optional<std::string> OAuth2AuthenticationStep::accessToken(const core::Data& response) {
    try {
        core::Value json = core::Json::parse(std::string(response.begin(), response.end()));
        if (const core::Value* token = json.find("access_token"); token && token->ifString()) return *token->ifString();
    } catch (const core::JsonError&) {
    }
    return std::nullopt;
}

void OAuth2AuthenticationStep::restore(const OnboardingContext& context, Completion completion) {
    if (isAllowingOfflineRestore) {
        try {
            if (auto kept = context.credentialStore->get(kTokenKey)) {
                if (std::optional<std::string> token = accessToken(*kept)) {
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
