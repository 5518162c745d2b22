#pragma once
// A page that shows sections (form cell sections and others) one below the
// other in one table. The page owns its sections; each section refers back
// to it weakly (parentTable) and knows its place (sectionIndex). Rows,
// heights, cells, cell registration and taps are the sections' own answers
// (BaseSection's page hooks); a section whose maxItemCount is 0 shows no row.
//
// Cells are registered before the table asks for a section's rows, each
// time it asks, so cells the host added after initialize() are registered
// too; a section registers again only when its cells changed.
//
// Owned by the host (it is what the host shows); main thread only. A tap on
// a row first goes to its section, then to the framework's base handling
// (which opens a list picker's picker). Once it has appeared, the page pins
// itself to its superview like every full-screen table page.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/vessa/VUIFormTableViewController.h"
#include "services/BaseSection.h"
#include "services/FullScreenTableViewControllerTraits.h"

namespace trc::services {

class SectionedTableViewController : public vessa::VUIFormTableViewController,
                                     public FullScreenTableViewControllerTraits {
    TRC_OBJECT(SectionedTableViewController)
public:
    // The alert button's title when no onboarding text overrides it.
    static constexpr const char* kDefaultOkButtonTitle = "OK";

    SectionedTableViewController() = default;

    // True when the host shows the page inside a frame of its own (no top gap).
    bool isInEmbeddedFrame = false;

    // Places the sections on the page in this order and reloads what is shown.
    void initialize(std::vector<std::shared_ptr<BaseSection>> sections);
    const std::vector<std::shared_ptr<BaseSection>>& sections() const { return sections_; }

    // Reloads the table section showing section; nothing when it is not on the page.
    void reloadSection(const BaseSection& section);
    // Presents an alert with one button, titled by the onboarding texts'
    // okButtonString when the host has set those texts, else "OK".
    void showAlert(const std::optional<std::string>& title, const std::optional<std::string>& message);
    static std::string okButtonTitle();

    void viewDidAppear(bool animated) override;

    int numberOfSections(ui::UITableView& tableView) override;
    int numberOfRowsInSection(ui::UITableView& tableView, int section) override;
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& tableView,
                                                      const ui::IndexPath& indexPath) override;
    std::optional<double> heightForRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) override;

private:
    std::shared_ptr<BaseSection> sectionAt(int index) const;
    // The same, unowned: for asks that run no host code and so cannot
    // take the section off the page while it answers.
    const BaseSection* sectionPointerAt(int index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= sections_.size()) return nullptr;
        return sections_[static_cast<std::size_t>(index)].get();
    }

    std::vector<std::shared_ptr<BaseSection>> sections_;
};

}  // namespace trc::services
