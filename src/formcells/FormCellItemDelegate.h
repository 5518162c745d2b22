#pragma once
// The callback object a form cell row gets when the host passes none. It
// declares the host's callback methods with their argument colons
// ("valueChangedWithParams:", "onPress:view:", ...), so it answers none of
// the bare names the library sends ("valueChangedWithParams", "onPress"):
// such a row reports nothing. "getView" is declared bare and answers nil,
// so an extension row of such a delegate stays an empty plain cell.
//
// Stateless; owned by the form that keeps its rows' delegates. Main thread only.

#include "platform/core/Object.h"

namespace trc::formcells {

class FormCellItemDelegate : public core::Object {
    TRC_OBJECT(FormCellItemDelegate)
};

}  // namespace trc::formcells
