#pragma once
// The base of the UI framework's table cells: which separator lines the
// cell draws, whether a person may edit it, whether edits are reported
// while they happen, and the style class (nuiClass) every view has.
//
// Sub-views report to their cell through closures made by whileAlive(),
// which do nothing once the cell is gone: the sub-views' actions live in
// the sub-views, which the cell owns, so they cannot hold the cell.
// Main thread only.

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UITableViewCell.h"

namespace trc::vessa {

class VUIBaseTableViewCell : public ui::UITableViewCell {
    TRC_OBJECT(VUIBaseTableViewCell)
public:
    enum class Separators { None, Top, Bottom, TopAndBottom };

    Separators separators = Separators::Bottom;

    bool isEditable() const { return editable_; }
    void setEditable(bool editable) {
        editable_ = editable;
        editableDidChange();
    }
    // When true, editing cells report every change as it is made; else once
    // when editing ends.
    bool isTrackingLiveChanges = false;

protected:
    virtual void editableDidChange() {}

    // A caption set in the room the cell's caption has. A reused cell goes
    // from row to row of captions of every length; grown, it grows once to
    // room for most captions, not at each longer one it meets.
    static void setCaption(std::optional<std::string>& text, std::optional<std::string_view> given) {
        constexpr std::size_t kCaptionRoom = 128;
        if (!given) {
            text.reset();
            return;
        }
        if (!text) text.emplace();
        if (text->capacity() < given->size()) text->reserve(std::max(given->size(), kCaptionRoom));
        core::assignText(*text, *given);
    }

    // Calls a change handler on a copy, so the handler may replace itself.
    template <class Handler, class V>
    static void fire(const Handler& handler, const V& value) {
        if (!handler) return;
        auto call = handler;
        call(value);
    }

    template <class F>
    auto whileAlive(F f) {
        return [alive = std::weak_ptr<int>(alive_), f = std::move(f)](auto&&... args) {
            if (!alive.expired()) f(std::forward<decltype(args)>(args)...);
        };
    }

private:
    bool editable_ = true;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

const char* separatorsName(VUIBaseTableViewCell::Separators separators);

}  // namespace trc::vessa
