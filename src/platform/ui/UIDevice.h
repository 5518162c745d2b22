#pragma once
// The device the application runs on: its model name and the kind of
// interface it offers. A headless process stands for a phone unless told
// otherwise; tests and the host simulator set the model to stand for another
// device. One shared instance per process, reset with the process state.
// Main thread only.

#include <memory>
#include <string>

#include "platform/core/Object.h"

namespace trc::ui {

class UIDevice : public core::Object {
    TRC_OBJECT(UIDevice)
public:
    enum class UserInterfaceIdiom { Phone, Pad };

    static constexpr const char* kPhoneModel = "iPhone";
    static constexpr const char* kPadModel = "iPad";

    static std::shared_ptr<UIDevice> current();

    // "iPhone", "iPad", ...
    std::string model = kPhoneModel;
    UserInterfaceIdiom userInterfaceIdiom() const;
};

}  // namespace trc::ui
