#pragma once
// The full-screen form: a grouped table of form cells that the host builds
// cell by cell (addFormCell, in section order), then changes one cell at a
// time (updateFormCell), replaces wholesale (updateFormCells), focuses
// (setFocus) and hears back from: value changes through the form cell
// factory's road, "onPress" for list picker and extension rows.
//
// Every cell's parameter dictionary is kept, hidden cells included, in a
// FormCellRowList per section. Three row numbers meet here: the host's
// (actual) rows, the table's (visible) rows, and the flat index of
// updateFormCells; the list's indexed maps turn one into the other, and a
// row that does not map (-1) is never acted on.
//
// The host keeps the controller; it keeps the row delegates strongly for its
// lifetime. Cells and their handlers refer back weakly. Main thread only.
//
// Reached by name too: the host (or FormCellContainerBridge) sends it
// "addFormCell:withDelegate:", "updateFormCell:cellRow:cellSection:",
// "updateFormCells:withStyle:", "setLocale:", "setFocus:cellSection:" and
// "hideLazyLoadingIndicator:cellSection:". Row and section numbers are the
// host's 64-bit numbers: one that is no integer, or that names a row or
// section the form does not have, addresses nothing and is logged ("warn",
// "ZEL.TRC"). Announced counts above HostNumber::kCountCap (100,000) are
// refused the same way, and the form keeps the counts it had.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formcells/AttachmentFormViewChangeDelegate.h"
#include "formcells/FormCellKeys.h"
#include "formcells/FormCellOwner.h"
#include "formcells/FormCellRowList.h"
#include "formcells/RowDelegates.h"
#include "platform/core/Object.h"
#include "platform/vessa/VUIFormTableViewController.h"
#include "services/FullScreenTableViewControllerTraits.h"

namespace trc::formcells {

class FormCellContainerViewController : public vessa::VUIFormTableViewController,
                                        public FormCellOwner,
                                        public AttachmentFormViewChangeDelegate,
                                        public services::FullScreenTableViewControllerTraits {
    TRC_OBJECT(FormCellContainerViewController)
public:
    // Parameter keys the form itself reads; the rest belong to the kinds.
    static constexpr const char* kTypeKey = FormCellKeys::kType;
    static constexpr const char* kNameKey = FormCellKeys::kName;
    static constexpr const char* kHeightKey = FormCellKeys::kHeight;
    static constexpr const char* kOnPressSelector = "onPress";
    // Marks the separator line under a header whose section shows no row.
    static constexpr std::int64_t kHeaderSeparatorTag = 0x1E240;
    static constexpr double sectionHeaderHeight = 30;
    static constexpr double kEstimatedRowHeight = 98;
    static constexpr double kEstimatedSectionHeaderHeight = 30;
    static constexpr double kNamedHeaderPadding = 8.5;

    explicit FormCellContainerViewController(ui::UITableView::Style style = ui::UITableView::Style::Grouped)
        : VUIFormTableViewController(style) {}

    // Selectors of its own, with the bridge's effects.
    static constexpr const char* kAddFormCell = "addFormCell:withDelegate:";
    static constexpr const char* kUpdateFormCell = "updateFormCell:cellRow:cellSection:";
    static constexpr const char* kUpdateFormCells = "updateFormCells:withStyle:";
    static constexpr const char* kSetLocale = "setLocale:";
    static constexpr const char* kSetFocus = "setFocus:cellSection:";
    static constexpr const char* kHideLazyLoadingIndicator = "hideLazyLoadingIndicator:cellSection:";

    // Announced by the host; readable by name (the runtime names are
    // "numberOfSections" and "numberOfRowsInSection", which in C++ are the
    // table data source's calls). Set only through the announce calls below,
    // so they never pass the cap; cells added after counts announced anew
    // are placed by the new counts.
    int announcedNumberOfSections() const { return announcedNumberOfSections_; }
    const std::vector<int>& announcedNumberOfRowsInSection() const { return announcedNumberOfRowsInSection_; }
    // Take the host's announced counts, or refuse them (logged under entry)
    // and keep the ones the form had: a count that is no integer, above the
    // cap, or (rows) a list longer than the cap. False when refused.
    bool announceNumberOfSections(const core::Value& count, std::string_view entry);
    bool announceNumberOfRowsInSection(const core::Value& counts, std::string_view entry);
    std::vector<std::string> sectionNames;
    bool isInPopover = false;
    bool isInEmbeddedFrame = false;

    // Host operations.
    void addFormCell(const core::Dictionary& params, const std::shared_ptr<core::Object>& delegate);
    void updateFormCell(const core::Dictionary& params, int cellRow, int cellSection);
    void updateFormCells(const core::Array& cells, const std::optional<std::string>& style);
    // entry names the host's call in the line that refuses an identifier
    // making no valid locale (createWithParams: calls this too).
    void setLocale(const std::string& identifier, std::string_view entry = kSetLocale);
    void setFocus(int cellRow, int cellSection);
    void hideLazyLoadingIndicator(int cellRow, int cellSection);

    // The stored cells by section, hidden ones included, as the host sees them.
    core::Dictionary getCellTypesForSection() const;

    // Row maps; -1 where nothing maps.
    int getActualRow(int visibleRow, int section) const;
    int getVisibleRow(int actualRow, int section) const;
    bool isRowVisible(int actualRow, int section) const;
    bool hideSectionHeader(int section) const;

    // From attachment rows.
    void didChangeValue(const std::optional<std::string>& name, const core::Dictionary& params) override;
    void reloadSectionContainer(const ui::IndexPath& indexPath) override;

    void runOnPressActionForTable(ui::UITableView& tableView, const ui::IndexPath& indexPath);

    // FormCellOwner.
    void updateParamsWithValue(const core::Dictionary& change, const ui::IndexPath& indexPath) override;
    std::optional<ui::IndexPath> indexPathOfShownCell(const std::string& name) const override;
    std::shared_ptr<ui::UITableView> cellTableView() override { return tableView(); }

    // The number filter of number fields.
    bool textFieldShouldChangeCharactersIn(ui::UITextField& textField, ui::NSRange range,
                                           const std::string& replacement) override;
    bool textFieldShouldReturn(ui::UITextField& textField) override;

    // Table data source and delegate.
    int numberOfSections(ui::UITableView& tableView) override;
    int numberOfRowsInSection(ui::UITableView& tableView, int section) override;
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& tableView,
                                                      const ui::IndexPath& indexPath) override;
    void didSelectRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) override;
    std::optional<double> heightForRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) override;
    std::optional<double> heightForHeaderInSection(ui::UITableView& tableView, int section) override;
    std::shared_ptr<ui::UIView> viewForHeaderInSection(ui::UITableView& tableView, int section) override;
    std::optional<double> heightForFooterInSection(ui::UITableView& tableView, int section) override;
    std::shared_ptr<ui::UIView> viewForFooterInSection(ui::UITableView& tableView, int section) override;

    // Lifecycle.
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // The number of cells added so far, hidden ones included.
    int totalNumberOfRows() const { return totalNumberOfRows_; }
    // The row delegate of a cell name, or nullptr.
    std::shared_ptr<core::Object> delegateNamed(const std::string& name) const;

private:
    const FormCellRowList* rows(int section) const;
    FormCellRowList* rows(int section);
    // The section's cells when the host row is one of them (hidden or not);
    // else nullptr, logged under entry: the numbers address nothing.
    FormCellRowList* hostRow(int cellRow, int cellSection, std::string_view entry);
    // The delegate of the row shown at indexPath, with its parameters.
    const core::Dictionary* visibleParams(const ui::IndexPath& indexPath) const;
    std::shared_ptr<FormCellOwner> selfOwner();
    std::optional<std::string> sectionName(int section) const;
    // The section the cell added as number totalNumberOfRows_ goes into.
    int sectionForNextCell();

    int announcedNumberOfSections_ = 0;
    std::vector<int> announcedNumberOfRowsInSection_;
    // By section number; nullptr for a section that was given no cell.
    // Indexed, not searched: every row built or measured asks for its list.
    std::vector<std::unique_ptr<FormCellRowList>> cellTypesForSection_;
    int totalNumberOfRows_ = 0;
    // Where the latest cell was placed: sections before `section` were full
    // for it, `before` counts their rows. For the counts list at `counts`
    // of `size` entries only.
    struct Placement {
        const int* counts = nullptr;
        std::size_t size = 0;
        std::size_t section = 0;
        std::int64_t before = 0;
    };
    Placement placement_;
    std::map<std::string, std::shared_ptr<core::Object>, std::less<>> delegates_;
    RowDelegates rowDelegates_;  // what cellForRowAt found in delegates_
};

}  // namespace trc::formcells
