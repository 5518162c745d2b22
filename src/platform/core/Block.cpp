#include "platform/core/Block.h"

namespace trc::core {

const ClassInfo& Block::classInfo() {
    static const ClassInfo& info = ClassBuilder<Block>("NSBlock", Object::classInfo()).build();
    return info;
}

}  // namespace trc::core
