#pragma once
// The names of the extra credential stores an onboarding context carries
// besides its own: `shared`, the store shared between applications.

namespace trc::flows {

enum class CredentialStoreID { shared };

}  // namespace trc::flows
