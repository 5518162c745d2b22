#pragma once
// Form cells shown as one section of a sectioned page. The section factory
// makes it for "Section.Type.FormCell"; the host then adds the cells one at
// a time, replaces or updates them, moves the focus and hides list picker
// loading rows, through the section bridge. The page asks it for its row
// count, the parameters and heights of shown rows, the registration of cell
// classes and the handling of taps; the cells themselves come from the form
// cell factory with this section as their owner, so every value a person
// enters is stored here before the host hears of it.
//
// Rows: every cell the host added is kept, hidden ones ("IsVisible" not
// true) included, in host order. The host names cells by host row (position
// in that list); the table and the cells by shown row. A host row that is
// hidden or out of range maps to no shown row, and a shown row past the end
// to no host row, so nothing ever acts on a row other than the one named.
// Host rows arrive as the host's 64-bit numbers: one that is no integer
// (1.5), beyond 32 bits, or past the section's cells addresses nothing and
// is logged ("warn", "ZEL.TRC"). "itemCount" is kept as given: any count
// but 0 shows the cells.
//
// Host updates: an update that would leave the cell hidden, or that is aimed
// at a hidden cell, changes nothing; visibility changes only through
// updateFormCells, which reloads the section.
//
// Ownership: made by BaseSection::make (or the section factory), owned by
// the host's bridge and the page; holds the page weakly and the host's
// callback objects (delegates) strongly for its lifetime. Main thread only;
// redraw and reloadSectionContainer do their work on a later main-queue turn.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formcells/AttachmentFormViewChangeDelegate.h"
#include "formcells/FormCellOwner.h"
#include "formcells/FormCellRowList.h"
#include "formcells/RowDelegates.h"
#include "services/BaseSection.h"

namespace trc::ui {
class UIView;
}

namespace trc::formcells {

class AttachmentFormViewDelegate;

class FormCellSection : public services::BaseSection, public FormCellOwner, public AttachmentFormViewChangeDelegate {
    TRC_OBJECT(FormCellSection)
public:
    using Delegate = std::shared_ptr<core::Object>;

    static constexpr const char* kSectionType = "Section.Type.FormCell";
    // Section keys.
    static constexpr const char* kItemCount = "itemCount";
    static constexpr const char* kLocale = "locale";
    // How a refused "locale" is named in the log.
    static constexpr const char* kLocaleEntry = "FormCellSection \"locale\"";
    // Host callbacks.
    static constexpr const char* kOnPress = "onPress";
    static constexpr const char* kGetView = "getView";
    static constexpr const char* kValueChangedWithParams = "valueChangedWithParams";
    // Selectors of its own.
    static constexpr const char* kHideLazyLoadingIndicatorWithRow = "hideLazyLoadingIndicatorWithRow:";
    static constexpr const char* kSetFocusWithRow = "setFocusWithRow:";

    // Lets the section factory make form cell sections; harmless twice.
    static void registerSectionType();
    static std::shared_ptr<FormCellSection> make(const core::Dictionary& params,
                                                 std::shared_ptr<core::Object> callback);

    // The host's callback object of each cell, by the cell's "_Name". Given
    // by setFormCellSectionItem, which the section's built rows follow.
    std::map<std::string, Delegate, std::less<>> delegates;

    // Section keys "itemCount" and "locale".
    void setData(const core::Dictionary& params) override;
    // Later on the main queue: setData, then the page reloads the section.
    void redraw(const core::Dictionary& data) override;

    void setFormCellSectionItem(const core::Dictionary& params, const Delegate& delegate) override;
    void updateFormCell(const core::Dictionary& params, int row) override;
    void updateFormCells(const core::Array& params) override;
    void hideLazyLoadingIndicatorWith(int row);
    void setFocus(int row);

    void registerCellsOfFormCellSection(ui::UITableView& tableView);
    int getVisibleCellCount() const;
    // The parameters of a shown row; nullptr past the end.
    const core::Dictionary* getCellParams(int row) const;
    std::optional<double> getExtensionHeight(int row) const;
    void onPressFormCellCallback(int row, const std::shared_ptr<ui::UIView>& view);
    // What the row's delegate answers to "getView"; nothing otherwise.
    core::Value getView(int row);
    const std::vector<core::Dictionary>& getCellItems() const { return cellsInSection_.cells(); }

    void updateParamsWithValue(const core::Dictionary& change, const ui::IndexPath& indexPath) override;
    std::optional<ui::IndexPath> indexPathOfShownCell(const std::string& name) const override;
    std::shared_ptr<ui::UITableView> cellTableView() override { return pageTable(); }

    // Attachment rows report through these.
    void didChangeValue(const std::optional<std::string>& name, const core::Dictionary& params) override;
    void reloadSectionContainer(const ui::IndexPath& indexPath) override;

    // Number fields of simple-property rows.
    bool textFieldShouldChangeCharactersIn(ui::UITextField& textField, ui::NSRange range,
                                           const std::string& replacement) override;
    bool textFieldShouldReturn(ui::UITextField& textField) override;

    // Page hooks.
    int numberOfRows() const override { return getVisibleCellCount(); }
    void registerCells(ui::UITableView& tableView) override;
    std::shared_ptr<ui::UITableViewCell> cellForRow(
        ui::UITableView& tableView, const ui::IndexPath& indexPath,
        const std::shared_ptr<services::SectionedTableViewController>& page) override;
    std::optional<double> heightForRow(int row) const override { return getExtensionHeight(row); }
    void didSelectRow(int row, const std::shared_ptr<ui::UITableViewCell>& cell) override;

private:
    std::shared_ptr<FormCellSection> self();
    std::shared_ptr<FormCellOwner> owner();
    Delegate delegateNamedIn(const core::Dictionary& params) const;
    // True when the host row is one of the section's cells (hidden or not);
    // else logged under entry: the row addresses nothing.
    bool hasHostRow(int row, const char* entry) const;
    // The page's table, when the section is on a page that still exists.
    std::shared_ptr<ui::UITableView> pageTable() const;

    FormCellRowList cellsInSection_{&FormCellRowList::isSectionCellVisible};
    RowDelegates rowDelegates_;  // what cellForRow found in delegates
    // Registration is redone only when the cells changed or the table is another.
    std::uint64_t cellsGeneration_ = 0;
    std::uint64_t registeredGeneration_ = 0;
    std::weak_ptr<ui::UITableView> registeredOn_;
};

}  // namespace trc::formcells
