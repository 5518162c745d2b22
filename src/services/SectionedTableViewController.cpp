#include "services/SectionedTableViewController.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"

namespace trc::services {

namespace {

// The onboarding texts are a layer above this page: they are found by the
// name they are registered under, so the page works with or without them.
constexpr const char* kCustomizationClasses[] = {"OnboardingCustomizationSwift", "OnboardingCustomization"};
constexpr const char* kOkButtonString = "okButtonString";

std::vector<std::shared_ptr<BaseSection>> sectionsIn(const core::Value& value) {
    std::vector<std::shared_ptr<BaseSection>> out;
    const core::Array* items = value.ifArray();
    if (!items) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       "initialize: the sections must be a list");
        return out;
    }
    for (const auto& item : *items) {
        if (auto section = item.ifObjectOf<BaseSection>()) {
            out.push_back(section);
        } else {
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                           "initialize: an element that is no section is left out");
        }
    }
    return out;
}

}  // namespace

const core::ClassInfo& SectionedTableViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<SectionedTableViewController>("SectionedTableViewController",
                                                         vessa::VUIFormTableViewController::classInfo())
            .constructible()
            .method("initialize:",
                    [](SectionedTableViewController& self, core::Args args) {
                        self.initialize(sectionsIn(args[0]));
                        return core::Value();
                    })
            .protocol("FullScreenTableViewControllerTraits")
            .property("isInEmbeddedFrame",
                      [](const SectionedTableViewController& self) { return core::Value(self.isInEmbeddedFrame); })
            .property("sections",
                      [](const SectionedTableViewController& self) {
                          core::Array out;
                          for (const auto& s : self.sections_) out.emplace_back(s);
                          return core::Value(std::move(out));
                      })
            .build();
    return info;
}

void SectionedTableViewController::initialize(std::vector<std::shared_ptr<BaseSection>> sections) {
    auto self = std::static_pointer_cast<SectionedTableViewController>(shared_from_this());
    for (const auto& old : sections_) {
        if (old->parentTable() == self) old->setParentTable(nullptr);
    }
    sections_ = std::move(sections);
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        sections_[i]->sectionIndex = static_cast<int>(i);
        sections_[i]->setParentTable(self);
    }
    tableView()->reloadData();
}

std::shared_ptr<BaseSection> SectionedTableViewController::sectionAt(int index) const {
    if (index < 0 || index >= static_cast<int>(sections_.size())) return nullptr;
    return sections_[static_cast<std::size_t>(index)];
}

void SectionedTableViewController::reloadSection(const BaseSection& section) {
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].get() == &section) {
            tableView()->reloadSections({static_cast<int>(i)}, ui::UITableView::RowAnimation::Automatic);
            return;
        }
    }
}

std::string SectionedTableViewController::okButtonTitle() {
    for (const char* name : kCustomizationClasses) {
        const core::ClassInfo* cls = core::ClassRegistry::shared().find(name);
        const core::ClassInfo::ClassPropertyFn* read = cls ? cls->findClassProperty(kOkButtonString) : nullptr;
        if (!read) continue;
        core::Value text = (*read)();
        if (const std::string* s = text.ifString()) return *s;
    }
    return kDefaultOkButtonTitle;
}

void SectionedTableViewController::showAlert(const std::optional<std::string>& title,
                                             const std::optional<std::string>& message) {
    auto alert = ui::UIAlertController::make(title, message);
    alert->addAction(ui::UIAlertAction::make(okButtonTitle(), ui::UIAlertAction::Style::Default));
    present(alert, true);
}

void SectionedTableViewController::viewDidAppear(bool animated) {
    VUIFormTableViewController::viewDidAppear(animated);
    onFullScreenTableViewControllerAppeared(isInEmbeddedFrame);
}

int SectionedTableViewController::numberOfSections(ui::UITableView& /*tableView*/) {
    return static_cast<int>(sections_.size());
}

int SectionedTableViewController::numberOfRowsInSection(ui::UITableView& tableView, int section) {
    auto s = sectionAt(section);
    if (!s) return 0;
    // The table asks for counts before it builds any row of the section.
    s->registerCells(tableView);
    return s->maxItemCount == 0 ? 0 : s->numberOfRows();
}

std::shared_ptr<ui::UITableViewCell> SectionedTableViewController::cellForRowAt(ui::UITableView& tableView,
                                                                                const ui::IndexPath& indexPath) {
    auto s = sectionAt(indexPath.section);
    if (!s) return nullptr;
    auto self = std::static_pointer_cast<SectionedTableViewController>(shared_from_this());
    return s->cellForRow(tableView, indexPath, self);
}

std::optional<double> SectionedTableViewController::heightForRowAt(ui::UITableView& /*tableView*/,
                                                                   const ui::IndexPath& indexPath) {
    const BaseSection* s = sectionPointerAt(indexPath.section);
    return s ? s->heightForRow(indexPath.row) : std::nullopt;
}

void SectionedTableViewController::didSelectRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) {
    if (auto s = sectionAt(indexPath.section)) s->didSelectRow(indexPath.row, tableView.cellForRow(indexPath));
    VUIFormTableViewController::didSelectRowAt(tableView, indexPath);
}

}  // namespace trc::services
