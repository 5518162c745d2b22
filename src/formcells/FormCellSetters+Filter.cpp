// The filter and sorter rows: one cell class, a caption above option buttons.
// A sorter orders by one option at a time, so its selection mode is not the
// host's to choose; a filter's is.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formcells/FormCellSetters.h"
#include "formcells/OptionTitleLists.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;
using S = internal::SetterSupport;

constexpr std::string_view kFilterItems = "FilterItems";
constexpr std::string_view kSortByItems = "SortByItems";
constexpr std::string_view kAllowMultipleSelection = "AllowMultipleSelection";
constexpr std::string_view kAllowEmptySelection = "AllowEmptySelection";

// Only the kind's own item key is ever read.
std::string_view itemsKey(bool sorter) { return sorter ? kSortByItems : kFilterItems; }

// "Value" as option indexes, written into indexes in place; false, indexes
// untouched, without such a list. Indexes beyond the options go to the cell
// as they are; a number too large for an index refuses the whole list, so
// no index ever reaches the cell cut down to another option's.
bool readSelection(const FormCellSetters::Params& params, std::vector<int>& indexes) {
    // Read as ParameterHelper::integerArrayIn reads it, in one pass, into
    // room kept for every row (rows are built one at a time, on the main
    // thread); indexes is touched only when the whole list is taken.
    static std::vector<int> read;
    const core::Value* value = params.find(S::kValue);
    const core::Array* list = value ? value->ifArray() : nullptr;
    if (!list) return false;
    read.clear();
    std::optional<std::int64_t> outOfRange;
    for (const core::Value& element : *list) {
        const std::optional<std::int64_t> i = ParameterHelper::exactInteger(element);
        if (!i) return false;
        if (*i < std::numeric_limits<int>::min() || *i > std::numeric_limits<int>::max()) {
            if (!outOfRange) outOfRange = i;
        } else {
            read.push_back(static_cast<int>(*i));
        }
    }
    if (outOfRange) {
        S::warn("form cell: filter index " + std::to_string(*outOfRange) + " is out of range; \"Value\" ignored");
        return false;
    }
    indexes.assign(read.begin(), read.end());
    return true;
}

// The row's items as its options when they are all texts, as
// VUIOptionTitles::share takes them; false, the options left, otherwise.
// With lists, a list seen before is not read item by item again.
bool shareItems(vessa::VUIOptionTitles& options, const core::Value& items, OptionTitleLists* lists) {
    if (!lists) return options.share(items);
    switch (lists->form(items)) {
    case OptionTitleLists::Form::NoTexts: return false;
    case OptionTitleLists::Form::NoItem: options.clear(); return true;
    case OptionTitleLists::Form::Texts:
    case OptionTitleLists::Form::SomeEmpty: options.shareTexts(items); return true;
    }
    return false;
}

// One untitled option rather than none, so the row still shows a button.
void showUntitledOption(vessa::VUIFilterFormCell& cell) {
    static const core::Value untitled(core::Array{core::Value(std::string())});
    cell.valueOptions.share(untitled);
}

// What a person may pick starts as on a fresh cell before the row's own
// keys apply, so a reused cell never carries another row's choice, or its
// rules for choosing, into this row's reports.
void startChoiceAfresh(vessa::VUIFilterFormCell& cell) {
    cell.value.clear();
    cell.allowsMultipleSelection = false;
    cell.allowsEmptySelection = true;
    cell.setEditable(true);
}

// The row's keys but its options.
void applyRow(vessa::VUIFilterFormCell& cell, const FormCellSetters::Params& params, bool sorter) {
    if (sorter) {
        cell.allowsMultipleSelection = false;
    } else if (auto multiple = ParameterHelper::getParameterAsBool(params, kAllowMultipleSelection)) {
        cell.allowsMultipleSelection = *multiple;
    }
    readSelection(params, cell.value);
    if (auto caption = ParameterHelper::textIn(params, S::kCaption)) cell.setKeyName(*caption);
    S::applyEditable(params, cell);
    if (auto empty = ParameterHelper::getParameterAsBool(params, kAllowEmptySelection))
        cell.allowsEmptySelection = *empty;
    const core::Dictionary& styles = S::styles(params);
    S::applyStyleClass(styles, S::kBackground, cell);
    S::applyStyleClass(styles, S::kCaption, *cell.keyLabel());
}

}  // namespace

void FormCellSetters::initDefaultFilterFormCellView(const std::shared_ptr<vessa::VUIFilterFormCell>& cell,
                                                    const Params& params, bool sorter) {
    if (!cell) return;
    if (!ParameterHelper::stringArrayIn(params, itemsKey(sorter))) showUntitledOption(*cell);
    startChoiceAfresh(*cell);
}

void FormCellSetters::setFilterFormCellView(const std::shared_ptr<vessa::VUIFilterFormCell>& cell, const Params& params,
                                            bool sorter) {
    if (!cell) return;
    // The row's options are taken as they stand, not copied; a list that is
    // not all texts leaves the cell's.
    if (const core::Value* items = params.find(itemsKey(sorter))) cell->valueOptions.share(*items);
    applyRow(*cell, params, sorter);
}

void FormCellSetters::buildFilterFormCellView(const std::shared_ptr<vessa::VUIFilterFormCell>& cell,
                                              const Params& params, bool sorter, OptionTitleLists* lists) {
    if (!cell) return;
    // The options a list of texts gives, else the untitled one: as the two
    // setters leave them, with the list looked at once.
    const core::Value* items = params.find(itemsKey(sorter));
    if (!items || !shareItems(cell->valueOptions, *items, lists)) showUntitledOption(*cell);
    startChoiceAfresh(*cell);
    applyRow(*cell, params, sorter);
}

}  // namespace trc::formcells
