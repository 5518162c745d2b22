#include "platform/vessa/VUIIconLibrary.h"

namespace trc::vessa {

const VUIIconLibrary::System& VUIIconLibrary::system() {
    static const System icons{std::make_shared<ui::UIImage>("VUIIconLibrary.system.barcode", ui::CGSize{22, 22})};
    return icons;
}

}  // namespace trc::vessa
