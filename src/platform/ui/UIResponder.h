#pragma once
// The base of views, view controllers and the application: the responder
// chain and the first responder.
//
// Each window has at most one first responder; becomeFirstResponder() asks
// the current one to resign first and fails when it refuses, when the
// responder cannot become first responder, or when it is not in a window.
// Subclasses hear of the change through didBecomeFirstResponder() and
// didResignFirstResponder() (text fields begin and end editing there).
//
// Responders are always owned by std::shared_ptr. Main thread only.

#include <memory>

#include "platform/core/Object.h"

namespace trc::ui {

class UIWindow;

class UIResponder : public core::Object {
    TRC_OBJECT(UIResponder)
public:
    // The next responder up the chain: a view's owning view controller or
    // else its superview; a view controller's parent or presenter.
    virtual std::shared_ptr<UIResponder> nextResponder() const { return nullptr; }
    // The window the responder is shown in, if any.
    virtual std::shared_ptr<UIWindow> responderWindow() const { return nullptr; }

    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    virtual bool isFirstResponder() const;

    template <class T>
    std::shared_ptr<T> sharedAs() {
        return std::static_pointer_cast<T>(shared_from_this());
    }
    template <class T>
    std::shared_ptr<const T> sharedAs() const {
        return std::static_pointer_cast<const T>(shared_from_this());
    }

protected:
    virtual void didBecomeFirstResponder() {}
    virtual void didResignFirstResponder() {}

private:
    friend class UIWindow;
    // How many windows took this as their first responder and have not let
    // it go since (a window that closes holding it still counts). At 0 it
    // is no window's, and asking costs no walk up the views to the window.
    int heldAsFirst_ = 0;
};

}  // namespace trc::ui
