#pragma once
// The default callback object of a section: what a section is given when
// the host creates it without a callback of its own. It answers none of the
// callbacks a section may send, so every send to it is skipped. Owned by
// the section it was made for; main thread only.

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"

namespace trc::host {

class SectionDelegate : public core::Object {
    TRC_OBJECT(SectionDelegate)
};

}  // namespace trc::host
