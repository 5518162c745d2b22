#pragma once
// When a text cell reports an edit: at once while the cell tracks live
// changes, else once when editing ends, and then only if something was
// edited. Owned by the cell; main thread only.

namespace trc::vessa {

class VUITextChangeTracker {
public:
    // An edit was made; true when it is to be reported now.
    bool edited(bool live) {
        if (live) return true;
        pending_ = true;
        return false;
    }
    // Editing ended; true when edits wait to be reported.
    bool ended() {
        bool pending = pending_;
        pending_ = false;
        return pending;
    }

private:
    bool pending_ = false;
};

}  // namespace trc::vessa
