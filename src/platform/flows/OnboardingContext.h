#pragma once
// What a flow hands from step to step: the onboarding's identity, its URL
// session (never null), the credential store the steps keep their secrets in,
// further stores by CredentialStoreID, the presenter the steps show their
// screens through, and info, the values steps leave for later steps.
//
// A value: copying a context copies info and shares the session, the stores
// and the presenter. Main thread.

#include <any>
#include <map>
#include <memory>
#include <unordered_map>

#include "platform/flows/CredentialStoreID.h"
#include "platform/flows/OnboardingInfoKey.h"
#include "platform/foundation/UUID.h"

namespace trc::flows {

class CodableStoring;
class FlowPresentationDelegate;
class ZELURLSession;

class OnboardingContext {
public:
    using Info = std::unordered_map<OnboardingInfoKey, std::any, OnboardingInfoKey::Hash>;

    // A fresh context: a new random identifier, a new plain URL session, an
    // in-memory credential store, the default presenter, empty info.
    OnboardingContext();
    OnboardingContext(foundation::UUID onboardingID, std::shared_ptr<CodableStoring> credentialStore,
                      std::shared_ptr<FlowPresentationDelegate> presentationDelegate, Info info = {});

    foundation::UUID onboardingID;
    std::shared_ptr<CodableStoring> credentialStore;
    std::map<CredentialStoreID, std::shared_ptr<CodableStoring>> credentialStores;
    std::shared_ptr<FlowPresentationDelegate> presentationDelegate;
    Info info;

    const std::shared_ptr<ZELURLSession>& zelURLSession() const { return zelURLSession_; }
    // A null session is ignored: every step may rely on having one.
    void setZelURLSession(std::shared_ptr<ZELURLSession> session);

    // The info value under key when it is of kind T, else nullptr.
    template <class T>
    const T* infoValue(const OnboardingInfoKey& key) const {
        auto it = info.find(key);
        return it == info.end() ? nullptr : std::any_cast<T>(&it->second);
    }

private:
    std::shared_ptr<ZELURLSession> zelURLSession_;
};

}  // namespace trc::flows
