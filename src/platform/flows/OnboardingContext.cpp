#include "platform/flows/OnboardingContext.h"

#include "platform/flows/CompositeStorage.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/ZELURLSession.h"

namespace trc::flows {

OnboardingContext::OnboardingContext()
    : credentialStore(CompositeStorage::makeInMemory()),
      presentationDelegate(std::make_shared<ModalUIViewControllerPresenter>()),
      zelURLSession_(std::make_shared<ZELURLSession>()) {}

OnboardingContext::OnboardingContext(foundation::UUID onboardingID, std::shared_ptr<CodableStoring> credentialStore,
                                     std::shared_ptr<FlowPresentationDelegate> presentationDelegate, Info info)
    : onboardingID(onboardingID),
      credentialStore(credentialStore ? std::move(credentialStore) : CompositeStorage::makeInMemory()),
      presentationDelegate(std::move(presentationDelegate)),
      info(std::move(info)),
      zelURLSession_(std::make_shared<ZELURLSession>()) {}

void OnboardingContext::setZelURLSession(std::shared_ptr<ZELURLSession> session) {
    if (session) zelURLSession_ = std::move(session);
}

}  // namespace trc::flows
