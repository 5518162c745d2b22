#pragma once
// The per-kind setters the form cell factory calls: each reads the row's
// parameter dictionary and puts it on the kind's cell. The builders call them
// when a row is shown, and the owners call them again to refresh a shown row
// after the host updated it.
//
// Every setter tolerates missing keys and wrong types: what it cannot read it
// leaves as the cell has it. All statics; main thread only. The bodies live in
// one source per family of kinds.

#include <memory>
#include <string_view>

#include "platform/core/Object.h"
#include "platform/core/Value.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/UITextField.h"

namespace trc::ui {
class UITextFieldDelegate;
}  // namespace trc::ui

namespace trc::vessa {
class VUIInlineValidationTableViewCell;
class VUITitleFormCell;
class VUINoteFormCell;
class VUITextFieldFormCell;
class VUIListPickerFormCell;
class VUIDatePickerFormCell;
class VUIDurationPickerFormCell;
class VUISwitchFormCell;
class VUISegmentedControlFormCell;
class VUIAttachmentsFormCell;
class VUIButtonFormCell;
class VUIFilterFormCell;
}  // namespace trc::vessa

namespace trc::services {
class Search;
}  // namespace trc::services

namespace trc::formcells {

class FormCellOwner;
class ListPickerDataSource;
class ListPickerRows;
struct ListPickerRowKeys;
class OptionTitleLists;
class AttachmentFormViewDelegate;

class FormCellSetters {
public:
    using Params = core::Dictionary;
    // The row's FormCellItemDelegate: any host object.
    using Delegate = std::shared_ptr<core::Object>;

    // Title and note rows. The initDefault setters run for a new row only
    // (not for a host update), so a reused cell never shows, and a person
    // never edits on from, the text of the row it showed before.
    static void initDefaultTitleFormCellView(const std::shared_ptr<vessa::VUITitleFormCell>& cell,
                                             const Params& params);
    static void initDefaultNoteFormCellView(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params);
    static void setTitleFormCellView(const std::shared_ptr<vessa::VUITitleFormCell>& cell, const Params& params);
    static void setNoteFormCellView(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params);
    // Both of them, for a new row, the row's keys looked up once.
    static void buildTitleFormCellView(const std::shared_ptr<vessa::VUITitleFormCell>& cell, const Params& params);
    static void buildNoteFormCellView(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params);

    // Simple-property rows. textFieldDelegate restricts what number fields accept.
    static void initDefaultSimplePropertyFormCellView(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                      const Params& params);
    static void setSimplePropertyFormCellView(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                              const Params& params,
                                              const std::shared_ptr<ui::UITextFieldDelegate>& textFieldDelegate,
                                              const Delegate& delegate, const ui::IndexPath& indexPath);
    // Both of them, for a new row, the row's keys looked up once; the owner
    // is the text field delegate, taken as such only where a row needs it.
    static void buildSimplePropertyFormCellView(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                const Params& params, const std::shared_ptr<FormCellOwner>& owner,
                                                const Delegate& delegate, const ui::IndexPath& indexPath);
    static ui::UIKeyboardType getKeyboardType(std::string_view keyboardType);
    // Turns on the barcode button of a simple-property row; cellName (the
    // row's "_Name") finds the row again when a reading arrives.
    static void configAlternateInputButton(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                           const std::shared_ptr<FormCellOwner>& containerDelegate,
                                           const Delegate& delegate, const ui::IndexPath& indexPath,
                                           std::optional<std::string> cellName = std::nullopt);

    // Validation message and view, one overload per cell base.
    static void setValidationView(const std::shared_ptr<vessa::VUIInlineValidationTableViewCell>& cell,
                                  const Params& params);
    static void setValidationView(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params);
    static void setValidationView(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell, const Params& params);
    static void setValidationView(const std::shared_ptr<vessa::VUISwitchFormCell>& cell, const Params& params);
    // The same for a cell the caller holds, taking no count on it.
    static void setValidationView(vessa::VUIInlineValidationTableViewCell& cell, const Params& params);

    // List picker rows.
    static void intiDefaultsetListPickerFormCellView(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                                                     const Params& params);
    static void setListPickerFormCellView(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                                          const Params& params);
    // Both of them, for a new row, the row's keys looked up once (keys:
    // those found already, none: found here).
    static void buildListPickerFormCellView(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                                            const Params& params, const ListPickerRowKeys* keys = nullptr);
    // The new data source, or nullptr when "PickerItems" is no list of dictionaries.
    // pickedItems: what the row remembers of items a person picked (see
    // FormCellOwner::pickedItems); an identifier in "Value" that "PickerItems"
    // no longer holds is shown and kept selected with that text. A data
    // source searches with search, or without one with the row's "Search".
    static std::shared_ptr<ListPickerDataSource> setListPickerValueByUUID(
        const std::shared_ptr<vessa::VUIListPickerFormCell>& cell, const Params& params, const Delegate& delegate,
        const std::shared_ptr<services::Search>& search, const std::vector<core::Dictionary>& pickedItems = {});
    // rows: the owner's, which remembers the form of each row's items
    // (none: the items are read); keys: the row's keys found already.
    static void setListPickerValueByArray(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                                          const Params& params, const Delegate& delegate,
                                          const std::shared_ptr<services::Search>& search,
                                          ListPickerRows* rows = nullptr, const ListPickerRowKeys* keys = nullptr);
    static void updateListPickerListView(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                                         const Params& params);

    // Date, duration, switch and segmented rows. The initDefault setters
    // give a row without "Value" what a fresh cell shows (now, 0 seconds,
    // off, no segment), so a reused cell never shows, and a person never
    // seems to have picked, the value of the row it showed before.
    static void initDefaultDatePickerFormCellView(const std::shared_ptr<vessa::VUIDatePickerFormCell>& cell,
                                                  const Params& params);
    static void initDefaultDurationPickerFormCellView(const std::shared_ptr<vessa::VUIDurationPickerFormCell>& cell,
                                                      const Params& params);
    static void initDefaultSwitchFormCellView(const std::shared_ptr<vessa::VUISwitchFormCell>& cell,
                                              const Params& params);
    static void initDefaultSegmentedControlFormCellView(const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell,
                                                        const Params& params);
    static void setDatePickerFormCellView(const std::shared_ptr<vessa::VUIDatePickerFormCell>& cell,
                                          const Params& params);
    static void setDurationPickerFormCellView(const std::shared_ptr<vessa::VUIDurationPickerFormCell>& cell,
                                              const Params& params);
    static void setSwitchFormCellView(const std::shared_ptr<vessa::VUISwitchFormCell>& cell, const Params& params);
    static void setSegmentedControlFormCellView(const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell,
                                                const Params& params);
    // Each initDefault setter and its setter, for a new row, "Value" looked up once.
    static void buildDatePickerFormCellView(const std::shared_ptr<vessa::VUIDatePickerFormCell>& cell,
                                            const Params& params);
    static void buildDurationPickerFormCellView(const std::shared_ptr<vessa::VUIDurationPickerFormCell>& cell,
                                                const Params& params);
    static void buildSwitchFormCellView(const std::shared_ptr<vessa::VUISwitchFormCell>& cell, const Params& params);
    static void buildSegmentedControlFormCellView(const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell,
                                                  const Params& params);
    // The same with the owner's lists, which remember the titles of lists of
    // segments (none: the segments are read).
    static void buildSegmentedControlFormCellViewWithLists(
        const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell, const Params& params, OptionTitleLists* lists);

    // Attachment rows; aDelegate may be null.
    static void setAttachmentsFormCellView(const std::shared_ptr<vessa::VUIAttachmentsFormCell>& cell,
                                           const Params& params,
                                           const std::shared_ptr<AttachmentFormViewDelegate>& aDelegate);

    // Button rows.
    static void setButtonFormCellView(const std::shared_ptr<vessa::VUIButtonFormCell>& cell, const Params& params);

    // Filter and sorter rows: a sorter reads "SortByItems" and always allows
    // one pick, a filter reads "FilterItems". The initDefault setter runs for a
    // new row only; what a person may pick then starts as on a fresh cell.
    static void initDefaultFilterFormCellView(const std::shared_ptr<vessa::VUIFilterFormCell>& cell,
                                              const Params& params, bool sorter);
    static void setFilterFormCellView(const std::shared_ptr<vessa::VUIFilterFormCell>& cell, const Params& params,
                                      bool sorter);
    // Both of them, for a new row, the row's keys looked up once. lists: the
    // owner's, which remembers which lists are all texts (none: the items
    // are read).
    static void buildFilterFormCellView(const std::shared_ptr<vessa::VUIFilterFormCell>& cell, const Params& params,
                                        bool sorter, OptionTitleLists* lists = nullptr);

    // Signature rows (a text field cell).
    static void setSignatureCaptureFormCell(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                            const Params& params);
    static void setSignatureCaptureLabel(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                         const Params& params);
};

}  // namespace trc::formcells
