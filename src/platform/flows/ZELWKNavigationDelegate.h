#pragma once
// Decides which pages the sign-in web view may open. The default allows
// every page; the application configuration may narrow it to its domains.

#include <string>

namespace trc::flows {

class ZELWKNavigationDelegate {
public:
    virtual ~ZELWKNavigationDelegate() = default;
    virtual bool shouldAllowNavigation(const std::string& url) { return !url.empty(); }
};

}  // namespace trc::flows
