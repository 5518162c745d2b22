#include "formcells/internal/ExtensionFormCellBuilder.h"

#include <exception>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "formcells/ExtensionFormCell.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellOwner.h"
#include "formcells/internal/HostedViewCell.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/ExactClass.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIViewController.h"
#include "services/UIViewConstraintHandler.h"

namespace trc::formcells::internal {

namespace {

using ui::UITableView;
using ui::UITableViewCell;
using Factory = FormCellFactory;

void log(core::Severity severity, const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, severity, "extension row: " + message);
}

// Runs a call into the host's code; what it throws is logged and the call
// answers an empty result.
template <class F>
std::invoke_result_t<F> hostCall(const char* what, F call) {
    try {
        return call();
    } catch (const std::exception& e) {
        log(core::Severity::error, std::string(what) + " failed: " + e.what());
    } catch (...) {
        log(core::Severity::error, std::string(what) + " failed");
    }
    if constexpr (!std::is_void_v<std::invoke_result_t<F>>) return {};
}

void send(const std::shared_ptr<core::Object>& to, const char* selector, const core::Value& argument) {
    if (!to->respondsToSelector(selector)) return;
    hostCall(selector, [&] { return to->perform(selector, argument); });
}

bool isCellHandler(const core::Object& view) {
    return view.conformsToProtocol(Factory::kExtensionTableViewCellHandlerProtocol);
}

// Whether a view of the view class exactly is a cell handler: the answer
// comes from the class alone, so it is asked once and not for every row.
bool plainViewIsCellHandler() {
    static const bool handler = ui::UIView::classInfo().conformsTo(Factory::kExtensionTableViewCellHandlerProtocol);
    return handler;
}

// The owner keeps the table a handler registered on, to hand back to the host.
void registerHandler(UITableView& tableView, const FormCellFactory::Owner& owner,
                     const std::shared_ptr<core::Object>& handler) {
    auto table = std::static_pointer_cast<UITableView>(tableView.weak_from_this().lock());
    if (owner && table) owner->setTableViewForExtension(table);
    send(handler, Factory::kRegisterCellToSelector, table ? core::Value(table) : core::Value());
}

void registerPlainCell(UITableView& tableView) {
    tableView.registerCell(
        Factory::extensionFormCellReuseID, [] { return std::make_shared<HostedViewCell>(); },
        UITableViewCell::classInfo().name());
}

std::shared_ptr<UITableViewCell> ownCell(UITableView& tableView, const ui::IndexPath& indexPath,
                                         ExtensionFormCell& view) {
    return hostCall("dequeueReusableCell", [&] { return view.dequeueReusableCell(tableView, indexPath); });
}

// The handler's cell, registered first when its identifier is unknown to the
// table: "getView" may answer a handler now that answered nothing at registration.
std::shared_ptr<UITableViewCell> handlerCell(UITableView& tableView, const ui::IndexPath& indexPath,
                                             const FormCellFactory::Owner& owner,
                                             const std::shared_ptr<core::Object>& handler) {
    if (!handler->respondsToSelector(Factory::kGetReuseIdentifierSelector)) return nullptr;
    core::Value answer = hostCall(Factory::kGetReuseIdentifierSelector,
                                  [&] { return handler->perform(Factory::kGetReuseIdentifierSelector); });
    const std::string* identifier = answer.ifString();
    if (!identifier) return nullptr;
    if (!tableView.registeredClassName(*identifier)) registerHandler(tableView, owner, handler);
    if (!tableView.registeredClassName(*identifier)) return nullptr;
    auto cell = tableView.dequeueReusableCell(*identifier, indexPath);
    if (!cell) return nullptr;
    if (owner) owner->setTableViewCellForExtension(cell);
    send(handler, Factory::kConfigureReusableCellSelector, core::Value(cell));
    return cell;
}

// Views an earlier row left in the reused cell, but for staying (the view
// shown again). From the last one back, so a view removed moves none of
// those still to look at.
void removeHostedViews(ui::UIView& content, const ui::UIView* staying = nullptr) {
    for (std::size_t i = content.subviews().size(); i-- > 0;) {
        if (i >= content.subviews().size()) continue;  // a removal took more than its view
        // A removal keeps its view alive to its end, so no reference is taken here.
        ui::UIView* sub = content.subviews()[i].get();
        if (sub->tag == Factory::extensionFormCellViewTag && sub != staying) sub->removeFromSuperview();
    }
}

// The guide a hosted view's sides follow on a tablet, or nullptr where they
// follow the cell: on a phone, and for a section no page shows.
std::shared_ptr<ui::UILayoutGuide> sideGuide(UITableView& tableView, const FormCellFactory::Owner& owner,
                                             const std::shared_ptr<ui::UIViewController>& viewController) {
    if (ui::UIDevice::current()->userInterfaceIdiom() != ui::UIDevice::UserInterfaceIdiom::Pad) return nullptr;
    auto controller = viewController ? viewController : std::dynamic_pointer_cast<ui::UIViewController>(owner);
    if (!controller) return nullptr;
    return controller->isPresentedModallyInFullScreen() ? tableView.readableContentGuide()
                                                        : tableView.layoutMarginsGuide();
}

using Pins = std::vector<std::shared_ptr<ui::NSLayoutConstraint>>;

// Whether c is in force as "first.attribute == second.attribute" (second a
// view or the guide), untouched since pin() made it.
bool pinned(const std::shared_ptr<ui::NSLayoutConstraint>& c, const ui::UIView* first,
            ui::NSLayoutConstraint::Attribute attribute, const ui::UIView* second, const ui::UILayoutGuide* guide) {
    return c && c->isActive() && c->firstAttribute() == attribute && c->secondAttribute() == attribute &&
           c->relation() == ui::NSLayoutConstraint::Relation::Equal && c->multiplier() == 1 && c->constant == 0 &&
           c->firstItemIs(first) && c->secondItemIs(second) && c->secondGuideIs(guide);
}

// Whether pins still hold the view in the cell as pin() would: the same view
// shown again in the same cell then keeps them, and nothing is taken out of
// force or put back. Anything that moved the view or took a pin out of force
// (the view leaving the cell does) makes pin() redo them.
bool stillPinned(const Pins& pins, const ui::UIView* content, const ui::UIView* hosted,
                 const ui::UILayoutGuide* guide) {
    using A = ui::NSLayoutConstraint::Attribute;
    if (pins.size() != 5 || hosted->translatesAutoresizingMaskIntoConstraints) return false;
    const ui::UIView* sideTo = guide ? nullptr : content;
    return pinned(pins[0], hosted, A::Leading, sideTo, guide) && pinned(pins[1], hosted, A::Trailing, sideTo, guide) &&
           pinned(pins[2], content, A::Top, hosted, nullptr) && pinned(pins[3], content, A::Bottom, hosted, nullptr) &&
           pinned(pins[4], content, A::Height, hosted, nullptr);
}

// Pins the view with the constraints kept in pins, pointed at it (made the
// first time).
void pin(const std::shared_ptr<ui::UIView>& content, const std::shared_ptr<ui::UIView>& hosted,
         const std::shared_ptr<ui::UILayoutGuide>& guide, Pins& pins) {
    using A = ui::NSLayoutConstraint::Attribute;
    using C = ui::NSLayoutConstraint;
    hosted->translatesAutoresizingMaskIntoConstraints = false;
    C::deactivate(pins);
    pins.resize(5);
    auto side = [&](std::shared_ptr<C>& slot, A attribute) {
        if (guide) {
            C::remakeToGuide(slot, hosted, attribute, guide, attribute);
        } else {
            C::remake(slot, hosted, attribute, content, attribute);
        }
    };
    side(pins[0], A::Leading);
    side(pins[1], A::Trailing);
    // The content view's height follows the view's, so the view sizes the row.
    C::remake(pins[2], content, A::Top, hosted, A::Top);
    C::remake(pins[3], content, A::Bottom, hosted, A::Bottom);
    C::remake(pins[4], content, A::Height, hosted, A::Height);
    C::activate(pins);
}

// Hands the pins holding the view the cell showed last over to hosted,
// which comes from no superview, when they hold that view as pin() left
// them: they stay in force, so neither the view leaving the cell nor the one
// coming in takes them out of force and back. False where pin() is to make them.
bool handOver(const ui::UIView& content, const std::shared_ptr<ui::UIView>& hosted, const ui::UILayoutGuide* guide,
              const Pins& pins) {
    if (pins.size() != 5 || !pins[0] || !hosted->superviewIs(nullptr)) return false;
    auto shown = pins[0]->firstItem();
    if (!shown || shown->tag != Factory::extensionFormCellViewTag || !shown->superviewIs(&content) ||
        !stillPinned(pins, &content, shown.get(), guide))
        return false;
    // The cell's own pins last among its constraints, where pin() would put them again.
    const auto& kept = content.constraints();
    const std::size_t n = kept.size();
    if (n < 3 || kept[n - 3] != pins[2] || kept[n - 2] != pins[3] || kept[n - 1] != pins[4]) return false;
    hosted->translatesAutoresizingMaskIntoConstraints = false;
    ui::NSLayoutConstraint::retarget(pins, *shown, hosted);
    return true;
}

bool hasHeight(const core::Dictionary& params) {
    const core::Value* height = params.find(ExtensionFormCellBuilder::kHeightKey);
    return height && !height->isNil();
}

}  // namespace

std::shared_ptr<core::Object> ExtensionFormCellBuilder::getView(const Delegate& delegate) {
    if (!delegate || !delegate->respondsToSelector(Factory::kGetViewSelector)) return nullptr;
    core::Value view =
        hostCall(Factory::kGetViewSelector, [&] { return delegate->perform(Factory::kGetViewSelector); });
    return view.ifObject();
}

void ExtensionFormCellBuilder::registerExtension(UITableView& tableView, const Owner& owner, const Delegate& delegate) {
    registerPlainCell(tableView);
    auto view = getView(delegate);
    if (!view) return;
    if (auto own = std::dynamic_pointer_cast<ExtensionFormCell>(view)) {
        hostCall("registerTo", [&] { own->registerTo(tableView); });
        return;
    }
    if (isCellHandler(*view)) registerHandler(tableView, owner, view);
}

std::shared_ptr<UITableViewCell> ExtensionFormCellBuilder::extensionFormCell(
    UITableView& tableView, const ui::IndexPath& indexPath, const core::Dictionary& params, const Owner& owner,
    const Delegate& delegate, const std::shared_ptr<ui::UIViewController>& viewController) {
    auto view = getView(delegate);
    // A host's view is a plain view, as a rule: of that class exactly it is
    // no cell maker of its own, and needs no cast that walks the class tree.
    const bool plainView = view && core::isExactly<ui::UIView>(*view);
    if (auto own = plainView ? nullptr : std::dynamic_pointer_cast<ExtensionFormCell>(view)) {
        if (auto cell = ownCell(tableView, indexPath, *own)) return cell;
        log(core::Severity::warn,
            "the host's view made no cell for row " + indexPath.description() + "; the row stays empty");
    } else if (view && (plainView ? plainViewIsCellHandler() : isCellHandler(*view))) {
        if (auto cell = handlerCell(tableView, indexPath, owner, view)) return cell;
        log(core::Severity::warn,
            "the host's cell handler gave no cell for row " + indexPath.description() + "; the row stays empty");
    }

    // The plain cell may be asked for under an identifier set after
    // registration: a quiet try first, so the usual row asks the table once.
    auto cell = tableView.dequeueReusableCell(Factory::extensionFormCellReuseID);
    if (!cell) {
        if (!tableView.registeredClassName(Factory::extensionFormCellReuseID)) registerPlainCell(tableView);
        cell = tableView.dequeueReusableCell(Factory::extensionFormCellReuseID, indexPath);
    }
    if (!cell) return cell;
    auto content = cell->contentView();
    content->autoresizesSubviews = true;
    // The row's reference is handed on: the view is not asked for again.
    auto hosted = plainView ? std::static_pointer_cast<ui::UIView>(std::move(view))
                            : std::dynamic_pointer_cast<ui::UIView>(std::move(view));
    // A row without a view of its own never shows the view of the row the cell showed before.
    if (!hosted) {
        removeHostedViews(*content);
        return cell;
    }
    // A view holding the row's cell or table would end up inside itself.
    if (hosted == content || content->isDescendantOf(*hosted) || hosted.get() == &tableView ||
        tableView.isDescendantOf(*hosted)) {
        log(core::Severity::warn,
            "the host's view for row " + indexPath.description() + " holds the row itself; not shown");
        removeHostedViews(*content);
        return cell;
    }

    content->insetsLayoutMarginsFromSafeArea = false;
    hosted->insetsLayoutMarginsFromSafeArea = false;
    hosted->autoresizingMask = ui::UIViewAutoresizing::FlexibleWidth | ui::UIViewAutoresizing::FlexibleHeight;
    hosted->setFrame(content->frame());
    hosted->tag = Factory::extensionFormCellViewTag;

    // The plain cell keeps its constraints for the next view shown in it; a
    // cell of another class (registered by the host under the same
    // identifier) gets new ones.
    Pins made;
    // The table hands out the registered class itself, as a rule.
    auto* plain = core::exactOrDynamicCast<HostedViewCell>(cell.get());
    Pins& pins = plain ? plain->pins : made;
    auto guide = sideGuide(tableView, owner, viewController);
    const bool sized = hasHeight(params);
    // The same view back in the same cell, pinned as before, stays as it is.
    const bool kept =
        !sized && hosted->superviewIs(content.get()) && stillPinned(pins, content.get(), hosted.get(), guide.get());
    const bool handedOver = !sized && !kept && handOver(*content, hosted, guide.get(), pins);
    removeHostedViews(*content, kept ? hosted.get() : nullptr);
    content->addSubview(hosted);
    if (kept || handedOver) return cell;
    if (!sized) {
        pin(content, hosted, guide, pins);
    } else if (guide) {
        services::UIViewConstraintHandler::applyLeadTrailGuideConstraint(content, hosted, guide, pins);
    }
    return cell;
}

}  // namespace trc::formcells::internal
