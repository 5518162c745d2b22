#pragma once
// Shows the OAuth2 sign-in page in a web view of the application; the
// navigation delegate (held weakly) decides which pages it may open.

#include "platform/flows/OAuth2AuthenticationPresenter.h"

namespace trc::flows {

class VessaWKWebViewPresenter : public OAuth2AuthenticationPresenter {
public:
    VessaWKWebViewPresenter(std::weak_ptr<core::Object> delegate,
                            std::weak_ptr<ZELWKNavigationDelegate> webViewDelegate)
        : webViewDelegate(std::move(webViewDelegate)) {
        this->delegate = std::move(delegate);
    }

    bool allowsNavigation(const std::string& url) const override {
        auto d = webViewDelegate.lock();
        return d ? d->shouldAllowNavigation(url) : !url.empty();
    }

    std::weak_ptr<ZELWKNavigationDelegate> webViewDelegate;
};

}  // namespace trc::flows
