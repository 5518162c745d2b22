// The attachment row's setter: the attachments controller's texts and
// actions, the host's attachments, and the row's delegate as the
// controller's data source and delegate.

#include <algorithm>
#include <array>
#include <cstdint>
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

// The kinds a list of action kinds names, a bit to a kind by its index in
// kOrder, and kNamesActions when the list names actions at all (a list of
// texts, not empty: any other leaves a cell's actions as they are).
using Kinds = std::uint8_t;
constexpr Kinds kNamesActions = 1U << kKinds;
constexpr bool isListed(Kinds kinds, std::size_t k) { return (kinds >> k & 1U) != 0; }

Kinds kindsIn(const core::Array& types) {
    if (types.empty()) return 0;
    Kinds kinds = kNamesActions;
    for (const core::Value& type : types) {
        const std::string* name = type.ifString();
        if (!name) return 0;
        if (const std::size_t k = kindIndex(*name); k < kKinds) kinds |= static_cast<Kinds>(1U << k);
    }
    return kinds;
}

// The kinds the row's list names, read again only for a list the row's
// delegate has not seen.
Kinds listedKinds(const core::Dictionary& params, AttachmentFormViewDelegate* aDelegate) {
    const core::Value* list = params.find(kAttachmentActionType);
    const core::Array* types = list ? list->ifArray() : nullptr;
    if (!types) return 0;
    if (!aDelegate) return kindsIn(*types);
    auto& kept = aDelegate->listedActions;
    if (kept.list != types) {
        kept.kinds = kindsIn(*types);
        aDelegate->listedActionsHeld = *list;
        kept.list = types;
    }
    return kept.kinds;
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

// The kind of an action exactKind does not tell, as new; kKinds for an
// action that is not (a camera action with a title of its own) or of no kind.
std::size_t otherPlainKind(vessa::VUIAttachmentAction& action) {
    if (auto* photo = exactly<vessa::VUITakePhotoAttachmentAction>(action)) return photo->title ? kKinds : 1;
    if (exactly<vessa::VUIAddPhotoAttachmentAction>(action)) return 0;
    if (exactly<vessa::VUIDocumentPickerAttachmentAction>(action)) return 2;
    const std::size_t k = kindIndex(action.kindName());
    const auto* photo = dynamic_cast<const vessa::VUITakePhotoAttachmentAction*>(&action);
    return photo && photo->title ? kKinds : k;
}

std::shared_ptr<vessa::VUIAttachmentAction> makeAction(std::string_view kind) {
    if (kind == kAddPhoto) return std::make_shared<vessa::VUIAddPhotoAttachmentAction>();
    if (kind == kTakePhoto) return std::make_shared<vessa::VUITakePhotoAttachmentAction>(std::nullopt);
    return std::make_shared<vessa::VUIDocumentPickerAttachmentAction>();
}

// The kind of an action as new, kKinds for any other action.
std::size_t plainKind(vessa::VUIAttachmentAction& action) {
    switch (exactKind(action)) {
    case 0: return 0;
    case 1: return static_cast<vessa::VUITakePhotoAttachmentAction&>(action).title ? kKinds : 1;
    case 2: return 2;
    default: return otherPlainKind(action);
    }
}

// The actions of the kinds listed, in a fixed order whatever the order the
// host lists them in. A reused cell that already offers just these, as new
// ones would be, keeps them; otherwise the actions it had, and those other
// cells gave up, are offered again before new ones are made.
void offerActions(vessa::VUIAttachmentsViewController& controller, Kinds listed) {
    const auto& actions = controller.attachmentActions();
    std::array<std::size_t, kKinds> order{};
    std::size_t wanted = 0;
    for (std::size_t k = 0; k < kKinds; ++k) {
        if (isListed(listed, k)) order[wanted++] = k;
    }
    // The first action as new of each kind the cell offers, in one pass
    // that also tells whether the cell offers just the listed ones. The
    // kinds of the first few are kept for when these actions come back.
    std::array<const std::shared_ptr<vessa::VUIAttachmentAction>*, kKinds> offered{};
    std::array<std::size_t, kKinds + 1> kinds{};
    bool asNew = actions.size() == wanted;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const std::size_t k = plainKind(*actions[i]);
        if (i < kinds.size()) kinds[i] = k;
        asNew = asNew && k == order[i];
        if (k < kKinds && !offered[k]) offered[k] = &actions[i];
    }
    if (asNew) return;
    static ActionList next;  // scratch, kept for its room
    next.clear();
    std::array<const vessa::VUIAttachmentAction*, kKinds> kept{};
    auto& spare = spareActions();
    for (std::size_t j = 0; j < wanted; ++j) {
        const std::size_t k = order[j];
        if (offered[k]) {
            next.push_back(*offered[k]);
            kept[k] = next.back().get();
        } else if (!spare[k].empty()) {
            next.push_back(std::move(spare[k].back()));
            spare[k].pop_back();
        } else {
            next.push_back(makeAction(kOrder[k]));
        }
    }
    controller.replaceAttachmentActions(next);
    for (std::size_t i = 0; i < next.size(); ++i) {
        auto& left = next[i];
        const std::size_t k = i < kinds.size() ? kinds[i] : plainKind(*left);
        if (k == kKinds || left.get() == kept[k]) continue;
        if (spare[k].size() < kMaxSpareActionsOfAKind) spare[k].push_back(std::move(left));
    }
    next.clear();
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
    if (const Kinds listed = listedKinds(params, aDelegate.get()); listed & kNamesActions) {
        offerActions(controller, listed);
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
