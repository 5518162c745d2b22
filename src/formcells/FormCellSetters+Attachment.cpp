// The attachment row's setter: the attachments controller's texts and
// actions, the host's attachments, and the row's delegate as the
// controller's data source and delegate.

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "formcells/AttachmentFormViewDelegate.h"
#include "formcells/FormCellSetters.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/core/TextAssignment.h"
#include "platform/vessa/VUIAddPhotoAttachmentAction.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIDocumentPickerAttachmentAction.h"
#include "platform/vessa/VUITakePhotoAttachmentAction.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using internal::SetterSupport;
using services::ParameterHelper;

constexpr const char* kAttachmentCancelTitle = "AttachmentCancelTitle";
constexpr const char* kAttachmentTitle = "AttachmentTitle";
constexpr const char* kAttachmentActionType = "AttachmentActionType";
constexpr std::string_view kAddPhoto = "AddPhoto";
constexpr std::string_view kTakePhoto = "TakePhoto";
constexpr std::string_view kSelectFile = "SelectFile";

using ActionList = std::vector<std::shared_ptr<vessa::VUIAttachmentAction>>;

// Actions a reused cell stopped offering, kept for the next row that offers
// them: an action holds nothing of its row but the delegate it is pointed
// at, and reused cells go from one set of actions to another as rows come
// and go. Main thread only, like the cells. Kept by kind, so that one kind
// cannot crowd out the others and taking one is no search; enough of each
// that the ups and downs of a long scroll seldom run out or throw away.
constexpr std::size_t kMaxSpareActionsOfAKind = 16;
constexpr std::string_view kOrder[] = {kAddPhoto, kTakePhoto, kSelectFile};
constexpr std::size_t kKinds = std::size(kOrder);
std::array<ActionList, kKinds>& spareActions() {
    static std::array<ActionList, kKinds> spare;
    return spare;
}

std::size_t kindIndex(std::string_view kind) {
    return static_cast<std::size_t>(std::find(std::begin(kOrder), std::end(kOrder), kind) - std::begin(kOrder));
}

// The kinds the host lists, by their index in kOrder.
using Kinds = std::array<bool, kKinds>;
Kinds listedKinds(const core::Array& types) {
    Kinds listed{};
    for (const core::Value& type : types) {
        if (const std::size_t k = kindIndex(*type.ifString()); k < kKinds) listed[k] = true;
    }
    return listed;
}

// The action's class, when it is one of the three the setter makes: a
// reused cell's actions are, and need no cast that walks the class tree.
template <class Action>
Action* exactly(vessa::VUIAttachmentAction& action) {
    return typeid(action) == typeid(Action) ? static_cast<Action*>(&action) : nullptr;
}

// The kind of an action of one of those three classes, told by its class's
// type_info object alone (one to a class in a program, as a rule), so no
// names of classes are compared; kKinds when that does not tell.
std::size_t exactKind(const vessa::VUIAttachmentAction& action) {
    const std::type_info* type = &typeid(action);
    if (type == &typeid(vessa::VUIAddPhotoAttachmentAction)) return 0;
    if (type == &typeid(vessa::VUITakePhotoAttachmentAction)) return 1;
    if (type == &typeid(vessa::VUIDocumentPickerAttachmentAction)) return 2;
    return kKinds;
}

std::size_t kindOf(vessa::VUIAttachmentAction& action) {
    if (const std::size_t k = exactKind(action); k < kKinds) return k;
    if (exactly<vessa::VUIAddPhotoAttachmentAction>(action)) return 0;
    if (exactly<vessa::VUITakePhotoAttachmentAction>(action)) return 1;
    if (exactly<vessa::VUIDocumentPickerAttachmentAction>(action)) return 2;
    return kindIndex(action.kindName());
}

// An action as new: a camera action has no title of its own.
bool isPlain(vessa::VUIAttachmentAction& action) {
    switch (exactKind(action)) {
    case 0:
    case 2: return true;
    case 1: return !static_cast<vessa::VUITakePhotoAttachmentAction&>(action).title;
    default: break;
    }
    if (auto* photo = exactly<vessa::VUITakePhotoAttachmentAction>(action)) return !photo->title;
    if (exactly<vessa::VUIAddPhotoAttachmentAction>(action) ||
        exactly<vessa::VUIDocumentPickerAttachmentAction>(action))
        return true;
    const auto* photo = dynamic_cast<const vessa::VUITakePhotoAttachmentAction*>(&action);
    return !photo || !photo->title;
}

std::shared_ptr<vessa::VUIAttachmentAction> makeAction(std::string_view kind) {
    if (kind == kAddPhoto) return std::make_shared<vessa::VUIAddPhotoAttachmentAction>();
    if (kind == kTakePhoto) return std::make_shared<vessa::VUITakePhotoAttachmentAction>(std::nullopt);
    return std::make_shared<vessa::VUIDocumentPickerAttachmentAction>();
}

// An action of the kind from the list (taken out of it), or a new one.
std::shared_ptr<vessa::VUIAttachmentAction> takeAction(ActionList& from, std::size_t kind) {
    auto it = std::find_if(from.begin(), from.end(),
                           [&](const auto& action) { return action && kindOf(*action) == kind && isPlain(*action); });
    if (it == from.end()) return nullptr;
    auto action = std::move(*it);
    from.erase(it);
    return action;
}

// The actions of the kinds listed, in a fixed order whatever the order the
// host lists them in. A reused cell that already offers just these, as new
// ones would be, keeps them; otherwise the actions it had, and those other
// cells gave up, are offered again before new ones are made.
void offerActions(vessa::VUIAttachmentsViewController& controller, const core::Array& types) {
    const auto& actions = controller.attachmentActions();
    const Kinds listed = listedKinds(types);
    std::size_t kept = 0;
    bool asNew = true;
    for (std::size_t k = 0; k < kKinds; ++k) {
        if (!listed[k]) continue;
        asNew = asNew && kept < actions.size() && kindOf(*actions[kept]) == k && isPlain(*actions[kept]);
        ++kept;
    }
    if (asNew && kept == actions.size()) return;
    static ActionList previous;  // scratch, kept for its room
    previous.assign(actions.begin(), actions.end());
    controller.removeAllAttachmentActions();
    auto& spare = spareActions();
    for (std::size_t k = 0; k < kKinds; ++k) {
        if (!listed[k]) continue;
        auto action = takeAction(previous, k);
        if (!action && !spare[k].empty()) {
            action = std::move(spare[k].back());
            spare[k].pop_back();
        }
        controller.addAttachmentAction(action ? action : makeAction(kOrder[k]));
    }
    for (auto& left : previous) {
        if (!isPlain(*left)) continue;
        const std::size_t k = kindOf(*left);
        if (k < kKinds && spare[k].size() < kMaxSpareActionsOfAKind) spare[k].push_back(std::move(left));
    }
    previous.clear();
}

// Every action of the controller tells this row's delegate, also the ones a
// reused cell kept from the row it showed before, so that nothing a person
// adds here lands in another row.
void pointActionsAt(vessa::VUIAttachmentsViewController& controller,
                    const std::shared_ptr<AttachmentFormViewDelegate>& aDelegate) {
    for (const auto& action : controller.attachmentActions()) {
        switch (exactKind(*action)) {
        case 0: static_cast<vessa::VUIAddPhotoAttachmentAction&>(*action).setDelegate(aDelegate); continue;
        case 1: static_cast<vessa::VUITakePhotoAttachmentAction&>(*action).setDelegate(aDelegate); continue;
        case 2: static_cast<vessa::VUIDocumentPickerAttachmentAction&>(*action).setDelegate(aDelegate); continue;
        default: break;
        }
        if (auto* a = exactly<vessa::VUIAddPhotoAttachmentAction>(*action)) {
            a->setDelegate(aDelegate);
        } else if (auto* a = exactly<vessa::VUITakePhotoAttachmentAction>(*action)) {
            a->setDelegate(aDelegate);
        } else if (auto* a = exactly<vessa::VUIDocumentPickerAttachmentAction>(*action)) {
            a->setDelegate(aDelegate);
        } else if (auto a = std::dynamic_pointer_cast<vessa::VUIAddPhotoAttachmentAction>(action)) {
            a->setDelegate(aDelegate);
        } else if (auto a = std::dynamic_pointer_cast<vessa::VUITakePhotoAttachmentAction>(action)) {
            a->setDelegate(aDelegate);
        } else if (auto a = std::dynamic_pointer_cast<vessa::VUIDocumentPickerAttachmentAction>(action)) {
            a->setDelegate(aDelegate);
        }
    }
}

}  // namespace

void FormCellSetters::setAttachmentsFormCellView(const std::shared_ptr<vessa::VUIAttachmentsFormCell>& cell,
                                                 const Params& params,
                                                 const std::shared_ptr<AttachmentFormViewDelegate>& aDelegate) {
    if (!cell) return;
    auto& controller = *cell->attachmentsController();
    if (auto cancel = ParameterHelper::textIn(params, kAttachmentCancelTitle)) {
        core::assignText(controller.customCancelString, *cancel);
    }
    if (auto title = ParameterHelper::textIn(params, kAttachmentTitle)) {
        core::assignText(controller.customAttachmentsTitleFormat, *title);
    }
    if (const core::Array* types = ParameterHelper::stringArrayIn(params, kAttachmentActionType);
        types && !types->empty()) {
        offerActions(controller, *types);
    }
    pointActionsAt(controller, aDelegate);
    if (aDelegate) {
        if (const core::Array* entries = ParameterHelper::dictionaryArrayIn(params, SetterSupport::kValue)) {
            for (const core::Value& entry : *entries) aDelegate->addAttachmentEntry(*entry.ifDictionary());
        }
    }
    controller.setDelegate(aDelegate);
    controller.setDataSource(aDelegate);
    SetterSupport::applyStyleClass(SetterSupport::styles(params), SetterSupport::kBackground, *cell);
    controller.reloadData();
}

}  // namespace trc::formcells
