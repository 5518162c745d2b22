#include "formcells/internal/FormCellParameterTypes.h"

#include <algorithm>
#include <span>
#include <string>

#include "formcells/FormCellKeys.h"
#include "platform/core/SharedLoggerManager.h"
#include "services/ParameterHelper.h"

namespace trc::formcells::internal {

namespace {

using Type = FormCellParameterTypes::Type;
using Kind = FormCellType::Kind;
using services::ParameterHelper;

struct KeyType {
    std::string_view key;
    Type type;
};

constexpr std::string_view kUniqueIdentifiersKey = "IsDataSourceRequiringUniqueIdentifiers";
// Longer values are cut short in the log line.
constexpr std::size_t kLoggedValueLength = 100;

// Read alike by every kind that reads them.
constexpr KeyType kShared[] = {
    {"IsEditable", Type::Bool},
    {"Styles", Type::Dictionary},
    {"validationProperties", Type::Dictionary},
    {"SeparatorIsHidden", Type::Bool},
    {"ValidationViewIsHidden", Type::Bool},
};

constexpr KeyType kNote[] = {
    {"MinNumberOfLines", Type::Integer},
    {"MaxNumberOfLines", Type::Integer},
    {"IsAutoResizing", Type::Bool},
};
constexpr KeyType kListPicker[] = {
    {"Search", Type::Dictionary},
    {kUniqueIdentifiersKey, Type::Bool},
    {"IsSelectedSectionEnabled", Type::Bool},
    {"IsSearchCancelledAfterSelection", Type::Bool},
    {"AllowMultipleSelection", Type::Bool},
    {"AllowEmptySelection", Type::Bool},
    {"IsPickerDismissedOnSelection", Type::Bool},
    {"PickerItems", Type::PickerItems},
    {"Value", Type::PickerSelection},
    {"DataPaging", Type::Dictionary},
};
constexpr KeyType kDatePicker[] = {{"Value", Type::Date}};
constexpr KeyType kDurationPicker[] = {{"MinuteInterval", Type::Integer}, {"Value", Type::Number}};
constexpr KeyType kSwitch[] = {{"Value", Type::Bool}};
constexpr KeyType kSegmentedControl[] = {
    {"Segments", Type::TextList},
    {"Value", Type::Integer},
    {"ApportionsSegmentWidthsByContent", Type::Bool},
};
constexpr KeyType kAttachment[] = {
    {"AttachmentActionType", Type::TextList},
    {"AllowedFileTypes", Type::TextList},
    {"Value", Type::DictionaryList},
};
constexpr KeyType kFilter[] = {
    {"FilterItems", Type::TextList},
    {"AllowMultipleSelection", Type::Bool},
    {"Value", Type::IntegerList},
    {"AllowEmptySelection", Type::Bool},
};
constexpr KeyType kSorter[] = {
    {"SortByItems", Type::TextList},
    {"Value", Type::IntegerList},
    {"AllowEmptySelection", Type::Bool},
};
constexpr KeyType kExtension[] = {{"Height", Type::Number}};
constexpr KeyType kSignatureCapture[] = {
    {"Value", Type::Dictionary},
    {"ShowXMark", Type::Bool},
    {"ShowUnderline", Type::Bool},
    {"ShowTimestampInImage", Type::Bool},
    {"WatermarkTextMaxLines", Type::Integer},
};

std::span<const KeyType> keysOf(Kind kind) {
    switch (kind) {
    case Kind::Note: return kNote;
    case Kind::ListPicker: return kListPicker;
    case Kind::DatePicker: return kDatePicker;
    case Kind::DurationPicker: return kDurationPicker;
    case Kind::Switch: return kSwitch;
    case Kind::SegmentedControl: return kSegmentedControl;
    case Kind::Attachment: return kAttachment;
    case Kind::Filter: return kFilter;
    case Kind::Sorter: return kSorter;
    case Kind::Extension: return kExtension;
    case Kind::SignatureCapture: return kSignatureCapture;
    case Kind::Title:
    case Kind::SimpleProperty:
    case Kind::Button: return {};
    }
    return {};
}

// The entries the setters read inside the dictionaries of the shared and
// per-kind tables.
constexpr KeyType kStylesEntries[] = {
    {"Background", Type::Text}, {"Caption", Type::Text},          {"Value", Type::Text},
    {"Switch", Type::Text},     {"SignatureCapture", Type::Text},
};
constexpr KeyType kSearchEntries[] = {
    {"Enabled", Type::Bool},        {"Placeholder", Type::Text},
    {"BarcodeScanner", Type::Bool}, {"MinimumCharacterThreshold", Type::Integer},
    {"Delay", Type::Integer},
};
constexpr KeyType kDataPagingEntries[] = {{"ShowLoadingIndicator", Type::Bool}, {"LoadingIndicatorText", Type::Text}};
constexpr KeyType kValidationEntries[] = {
    {"ValidationMessage", Type::Text},
    {"ValidationMessageColor", Type::Text},
    {"SeparatorBackgroundColor", Type::Text},
    {"SeparatorIsHidden", Type::Bool},
    {"ValidationViewBackgroundColor", Type::Text},
    {"ValidationViewIsHidden", Type::Bool},
};

std::span<const KeyType> entriesOf(std::string_view key) {
    if (key == "Styles") return kStylesEntries;
    if (key == "Search") return kSearchEntries;
    if (key == "DataPaging") return kDataPagingEntries;
    if (key == ParameterHelper::kValidationProperties) return kValidationEntries;
    return {};
}

std::optional<Type> typeIn(std::span<const KeyType> table, std::string_view key) {
    auto it = std::find_if(table.begin(), table.end(), [&](const KeyType& k) { return k.key == key; });
    return it == table.end() ? std::nullopt : std::optional<Type>(it->type);
}

template <class Test>
bool everyElement(const core::Value& value, Test test) {
    const core::Array* list = value.ifArray();
    return list && std::all_of(list->begin(), list->end(), test);
}

bool isTextList(const core::Value& v) {
    return everyElement(v, [](const core::Value& e) { return e.isString(); });
}
bool isIntegerList(const core::Value& v) {
    return everyElement(v, [](const core::Value& e) { return ParameterHelper::exactInteger(e).has_value(); });
}
bool isDictionaryList(const core::Value& v) {
    return everyElement(v, [](const core::Value& e) { return e.isDictionary(); });
}

std::string_view typeName(Type type, bool byUniqueIdentifiers) {
    switch (type) {
    case Type::Text: return "a text";
    case Type::Bool: return "a boolean";
    case Type::Integer: return "a whole number";
    case Type::Number: return "a number";
    case Type::Date: return "a date";
    case Type::Dictionary: return "a dictionary";
    case Type::TextList: return "a list of texts";
    case Type::IntegerList: return "a list of whole numbers";
    case Type::DictionaryList: return "a list of dictionaries";
    case Type::PickerItems:
        return byUniqueIdentifiers ? "a list of dictionaries" : "a list of dictionaries or of texts";
    case Type::PickerSelection:
        return byUniqueIdentifiers ? "a list of items or of unique identifiers" : "a list of item indexes";
    }
    return "another value";
}

// How the row chooses once the update is taken: an update's boolean says
// so, else what the row says (a row whose key holds no boolean chooses by
// identifiers, as a new row does).
bool choosesByUniqueIdentifiers(const core::Dictionary& stored, const core::Dictionary& update) {
    const core::Value* v = update.find(kUniqueIdentifiersKey);
    if (!v || (!v->isNothing() && !v->isBool())) v = stored.find(kUniqueIdentifiersKey);
    if (!v || v->isNothing()) return false;
    return v->ifBool() ? *v->ifBool() : true;
}

// Logs what an update may not take. The row's name is read only then: an
// update whose values all fit (nearly every one) copies no name.
class Refusals {
public:
    Refusals(const core::Dictionary& stored, const core::Dictionary& update) : stored_(stored), update_(update) {}

    void refuse(std::string_view key, Type type, bool byUniqueIdentifiers, const core::Value& value) const {
        std::string given = value.description();
        if (given.size() > kLoggedValueLength) given = given.substr(0, kLoggedValueLength) + "...";
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       "update of row \"" + std::string(row()) + "\": \"" + std::string(key) +
                                           "\" takes " + std::string(typeName(type, byUniqueIdentifiers)) + ", not " +
                                           given + "; the row keeps what it had");
    }

private:
    // The name the row has once updated: the update's text, else the stored one.
    std::string_view row() const {
        const core::Value* name = update_.find(FormCellKeys::kName);
        if (!name || !name->isString()) name = stored_.find(FormCellKeys::kName);
        return name && name->isString() ? std::string_view(*name->ifString()) : std::string_view();
    }

    const core::Dictionary& stored_;
    const core::Dictionary& update_;
};

// The dictionary under key with its wrong-typed entries put back as the row
// had them (or left out); nothing when every entry may stay.
std::optional<core::Dictionary> acceptedEntries(std::string_view key, const core::Dictionary& given,
                                                const core::Value* before, const Refusals& refusals) {
    const core::Dictionary* old = before ? before->ifDictionary() : nullptr;
    std::optional<core::Dictionary> kept;
    for (const KeyType& entry : entriesOf(key)) {
        const core::Value* v = given.find(entry.key);
        if (!v || v->isNothing() || FormCellParameterTypes::holds(entry.type, *v, false)) continue;
        refusals.refuse(std::string(key) + "/" + std::string(entry.key), entry.type, false, *v);
        if (!kept) kept = given;
        const core::Value* had = old ? old->find(entry.key) : nullptr;
        if (had) {
            kept->set(std::string(entry.key), *had);
        } else {
            kept->erase(entry.key);
        }
    }
    return kept;
}

}  // namespace

std::optional<FormCellParameterTypes::Type> FormCellParameterTypes::typeOf(FormCellType::Kind kind,
                                                                           std::string_view key) {
    if (auto type = typeIn(keysOf(kind), key)) return type;
    return typeIn(kShared, key);
}

bool FormCellParameterTypes::holds(Type type, const core::Value& value, bool byUniqueIdentifiers) {
    switch (type) {
    case Type::Text: return value.isString();
    case Type::Bool: return value.isBool();
    case Type::Integer: return ParameterHelper::exactInteger(value).has_value();
    case Type::Number: return value.isNumber();
    case Type::Date: return value.isDate() || (value.ifString() && ParameterHelper::parseDate(*value.ifString()));
    case Type::Dictionary: return value.isDictionary();
    case Type::TextList: return isTextList(value);
    case Type::IntegerList: return isIntegerList(value);
    case Type::DictionaryList: return isDictionaryList(value);
    case Type::PickerItems: return isDictionaryList(value) || (!byUniqueIdentifiers && isTextList(value));
    case Type::PickerSelection:
        return byUniqueIdentifiers ? isDictionaryList(value) || isTextList(value) : isIntegerList(value);
    }
    return false;
}

const core::Dictionary& FormCellParameterTypes::accepted(const core::Dictionary& stored, const core::Dictionary& update,
                                                         core::Dictionary& scratch) {
    std::optional<FormCellType::Kind> kind;
    for (const core::Dictionary* params : {&update, &stored}) {
        const core::Value* type = params->find(FormCellKeys::kType);
        if (type && type->isString()) kind = FormCellType::fromRawValue(*type->ifString());
        if (kind) break;
    }
    if (!kind) return update;
    const bool byUniqueIdentifiers = *kind == Kind::ListPicker && choosesByUniqueIdentifiers(stored, update);
    const Refusals refusals(stored, update);
    bool copied = false;
    auto copy = [&]() -> core::Dictionary& {
        if (!copied) scratch = update;
        copied = true;
        return scratch;
    };
    for (const auto& [key, value] : update) {
        auto type = typeOf(*kind, key);
        if (!type || value.isNothing()) continue;
        if (!holds(*type, value, byUniqueIdentifiers)) {
            refusals.refuse(key, *type, byUniqueIdentifiers, value);
            copy().erase(key);
        } else if (*type == Type::Dictionary) {
            if (auto kept = acceptedEntries(key, *value.ifDictionary(), stored.find(key), refusals)) {
                copy().set(key, core::Value(std::move(*kept)));
            }
        }
    }
    return copied ? scratch : update;
}

}  // namespace trc::formcells::internal
