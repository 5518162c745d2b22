#pragma once
// The UI framework's icons, as named images (nothing is drawn). One set of
// system icons for the process.

#include <memory>

#include "platform/ui/UIImage.h"

namespace trc::vessa {

class VUIIconLibrary {
public:
    struct System {
        std::shared_ptr<ui::UIImage> barcode;
    };
    static const System& system();
};

}  // namespace trc::vessa
