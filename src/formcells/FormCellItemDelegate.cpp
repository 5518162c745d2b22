#include "formcells/FormCellItemDelegate.h"

#include "platform/core/ClassInfo.h"

namespace trc::formcells {

const core::ClassInfo& FormCellItemDelegate::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<FormCellItemDelegate>("FormCellItemDelegate", core::Object::classInfo())
            .constructible()
            .method("loadMoreItems", [](FormCellItemDelegate&, core::Args) { return core::Value(); })
            .method("valueChangedWithParams:", [](FormCellItemDelegate&, core::Args) { return core::Value(); })
            .method("searchUpdated:", [](FormCellItemDelegate&, core::Args) { return core::Value(); })
            .method("getView", [](FormCellItemDelegate&, core::Args) { return core::Value(); })
            .method("onPress:view:", [](FormCellItemDelegate&, core::Args) { return core::Value(); })
            .build();
    return info;
}

}  // namespace trc::formcells
