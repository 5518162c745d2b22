#include "formcells/internal/ExtensionFormCellBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "formcells/ExtensionFormCell.h"
#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellOwner.h"
#include "formcells/FormTestSupport.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIWindow.h"

namespace trc::formcells {
namespace {

using testing::params;
using testing::RecordingDelegate;
using Style = ui::UIModalPresentationStyle;

constexpr const char* kExtension = "Control.Type.FormCell.Extension";

// A section owner: no view controller of its own.
class SectionOwner : public FormCellOwner {
public:
    void updateParamsWithValue(const core::Dictionary&, const ui::IndexPath&) override {}
};

// A row delegate whose "getView" answers a different object each time it is asked.
class ChangingDelegate : public core::Object {
public:
    explicit ChangingDelegate(std::vector<std::shared_ptr<core::Object>> answers) : answers_(std::move(answers)) {}
    bool respondsToSelector(std::string_view s) const override { return s == "getView"; }
    core::Value perform(std::string_view, core::Args) override {
        if (asked_ >= answers_.size()) throw std::runtime_error("no view today");
        auto view = answers_[asked_++];
        return view ? core::Value(view) : core::Value();
    }

private:
    std::vector<std::shared_ptr<core::Object>> answers_;
    std::size_t asked_ = 0;
};

// A host view that makes its own cells, or none.
class OwnCellView : public core::Object, public ExtensionFormCell {
public:
    void registerTo(ui::UITableView& tableView) override { tableView.registerClass<ui::UITableViewCell>("Own"); }
    std::shared_ptr<ui::UITableViewCell> dequeueReusableCell(ui::UITableView&, const ui::IndexPath&) override {
        return nullptr;
    }
};

// A runtime cell handler that registers, names and fills its cell.
class HandlerView : public core::Object {
public:
    explicit HandlerView(core::Value identifier) : identifier_(std::move(identifier)) {}
    bool conformsToProtocol(std::string_view p) const override { return p == "ExtensionTableViewCellHandler"; }
    bool respondsToSelector(std::string_view s) const override {
        return s == "registerCellTo:" || s == "getReuseIdentifier" || s == "configureReusableCell:";
    }
    core::Value perform(std::string_view s, core::Args args) override {
        sent.emplace_back(s);
        if (s == "registerCellTo:")
            args[0].ifObjectOf<ui::UITableView>()->registerClass<ui::UITableViewCell>("Handled");
        if (s == "getReuseIdentifier") return identifier_;
        if (s == "configureReusableCell:") args[0].ifObjectOf<ui::UITableViewCell>()->textLabel()->text = "filled";
        return {};
    }
    std::vector<std::string> sent;

private:
    core::Value identifier_;
};

// The view's constraints as "leading = superview.leading; ...".
std::string constraintsOf(const ui::UIView& view) {
    std::string text;
    for (const auto& c : view.constraints()) text += (text.empty() ? "" : "; ") + c->description();
    return text;
}

std::shared_ptr<RecordingDelegate> showing(std::shared_ptr<core::Object> view) {
    return std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{"getView", "onPress"},
                                               std::move(view));
}

std::size_t hostedViews(const ui::UITableViewCell& cell) {
    std::size_t n = 0;
    for (const auto& v : cell.contentView()->subviews()) n += v->tag == FormCellFactory::extensionFormCellViewTag;
    return n;
}

constexpr const char* kPinnedToCell = "leading = superview.leading; trailing = superview.trailing";
constexpr const char* kCellFollowsView = "top = subview.top; bottom = subview.bottom; height = subview.height";

// Rows built straight through the factory, as a form cell section's page asks for them.
class ExtensionTest : public testing::FreshProcessTest {
protected:
    std::shared_ptr<ui::UITableViewCell> build(const std::shared_ptr<core::Object>& delegate,
                                               const std::string& json = "{}",
                                               const std::shared_ptr<ui::UIViewController>& page = nullptr) {
        FormCellFactory::registerFormCell(*table, kExtension, owner, delegate);
        return FormCellFactory::getFormCell(*table, {0, row++}, kExtension, params(json), owner, delegate, page);
    }

    std::shared_ptr<ui::UITableView> table = std::make_shared<ui::UITableView>();
    std::shared_ptr<SectionOwner> owner = std::make_shared<SectionOwner>();
    std::shared_ptr<ui::UILabel> label = std::make_shared<ui::UILabel>();
    int row = 0;
};

// ---- A plain view on a phone -------------------------------------------------------------

class ExtensionHostedView : public ExtensionTest {};

// A host view of the view class that makes its own cells.
class OwnCellUIView : public ui::UIView, public ExtensionFormCell {
public:
    void registerTo(ui::UITableView& tableView) override { tableView.registerClass<ui::UITableViewCell>("OwnView"); }
    std::shared_ptr<ui::UITableViewCell> dequeueReusableCell(ui::UITableView& tableView,
                                                             const ui::IndexPath& indexPath) override {
        return tableView.dequeueReusableCell("OwnView", indexPath);
    }
};

TEST_F(ExtensionHostedView, AViewOfTheViewClassItselfIsHostedAndOneOfASubclassMakingCellsMakesItsOwn) {
    auto plain = std::make_shared<ui::UIView>();
    auto cell = build(showing(plain));
    ASSERT_EQ(plain->superview(), cell->contentView());
    EXPECT_EQ(constraintsOf(*plain), kPinnedToCell);

    auto own = std::make_shared<OwnCellUIView>();
    cell = build(showing(own));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->cellReuseIdentifier(), "OwnView");
    EXPECT_EQ(own->superview(), nullptr);
}

TEST_F(ExtensionHostedView, WithoutHeightTheViewIsPinnedOnAllSidesAndTheCellFollowsItsHeight) {
    auto cell = build(showing(label));
    auto content = cell->contentView();
    ASSERT_EQ(label->superview(), content);
    EXPECT_EQ(label->tag, 20180101);
    EXPECT_FALSE(label->translatesAutoresizingMaskIntoConstraints);
    EXPECT_EQ(constraintsOf(*label), kPinnedToCell);
    EXPECT_EQ(constraintsOf(*content), kCellFollowsView);
    EXPECT_FALSE(label->insetsLayoutMarginsFromSafeArea);
    EXPECT_FALSE(content->insetsLayoutMarginsFromSafeArea);
    EXPECT_TRUE(content->autoresizesSubviews);
}

TEST_F(ExtensionHostedView, WithAnyHeightOnAPhoneTheViewSizesByItsAutoresizingAlone) {
    for (const char* json : {R"({"Height": 120})", R"({"Height": "tall"})"}) {
        auto view = std::make_shared<ui::UILabel>();
        auto cell = build(showing(view), json);
        ASSERT_EQ(view->superview(), cell->contentView()) << json;
        EXPECT_TRUE(view->translatesAutoresizingMaskIntoConstraints) << json;
        EXPECT_EQ(view->autoresizingMask,
                  ui::UIViewAutoresizing::FlexibleWidth | ui::UIViewAutoresizing::FlexibleHeight);
        EXPECT_EQ(constraintsOf(*view), "") << json;
        EXPECT_EQ(constraintsOf(*cell->contentView()), "") << json;
    }
}

TEST_F(ExtensionHostedView, ASectionShownByNoPageLaysTheViewOutAgainstTheCellEvenOnATablet) {
    ui::UIDevice::current()->model = ui::UIDevice::kPadModel;
    auto cell = build(showing(label));
    EXPECT_EQ(constraintsOf(*label), kPinnedToCell);
    auto tall = std::make_shared<ui::UILabel>();
    build(showing(tall), R"({"Height": 120})");
    EXPECT_EQ(constraintsOf(*tall), "");
}

// ---- Host objects that misbehave ----------------------------------------------------------------

class ExtensionHostMisbehaviour : public ExtensionTest {};

TEST_F(ExtensionHostMisbehaviour, AFailingGetViewLeavesTheRowEmptyAndIsLogged) {
    auto cell = build(std::make_shared<ChangingDelegate>(std::vector<std::shared_ptr<core::Object>>{}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->cellReuseIdentifier(), "ExtensionFormCell");
    EXPECT_EQ(hostedViews(*cell), 0u);
    EXPECT_TRUE(testing::logged(core::Severity::error, "no view today"));
}

TEST_F(ExtensionHostMisbehaviour, AViewThatMakesNoCellGetsThePlainCell) {
    auto cell = build(showing(std::make_shared<OwnCellView>()));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->cellReuseIdentifier(), "ExtensionFormCell");
    EXPECT_TRUE(testing::logged(core::Severity::warn, "made no cell"));
}

TEST_F(ExtensionHostMisbehaviour, AHandlerFirstSeenWhenTheRowIsBuiltIsRegisteredBeforeItsCellIsDequeued) {
    auto handler = std::make_shared<HandlerView>(core::Value("Handled"));
    auto cell = build(std::make_shared<ChangingDelegate>(std::vector<std::shared_ptr<core::Object>>{nullptr, handler}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->cellReuseIdentifier(), "Handled");
    EXPECT_EQ(cell->textLabel()->text, "filled");
    EXPECT_EQ(handler->sent,
              (std::vector<std::string>{"getReuseIdentifier", "registerCellTo:", "configureReusableCell:"}));
    EXPECT_EQ(owner->tableViewForExtension(), table);
    EXPECT_EQ(owner->tableViewCellForExtension(), cell);
}

TEST_F(ExtensionHostMisbehaviour, AHandlerWithoutAnIdentifierGetsThePlainCell) {
    for (core::Value identifier : {core::Value(), core::Value(42), core::Value("NeverRegistered")}) {
        auto handler = std::make_shared<HandlerView>(identifier);
        auto cell = build(showing(handler));
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->cellReuseIdentifier(), "ExtensionFormCell");
    }
}

TEST_F(ExtensionHostMisbehaviour, TheTableOrTheCellItselfIsNeverPutIntoTheCell) {
    auto cell = build(showing(table));
    EXPECT_EQ(table->superview(), nullptr);
    EXPECT_EQ(hostedViews(*cell), 0u);
    EXPECT_TRUE(testing::logged(core::Severity::warn, "holds the row itself"));
}

// ---- Shown in a form: reuse and tablets --------------------------------------------------------------

class ExtensionInForm : public testing::FreshProcessTest {
protected:
    void SetUp() override {
        FreshProcessTest::SetUp();
        window->makeKeyAndVisible();
        window->setRootViewController(root);
        dispatch::MainQueue::shared().runUntilIdle();
    }
    void add(const std::shared_ptr<core::Object>& delegate, const std::string& extra = "") {
        const std::string name = "e" + std::to_string(rows.size());
        rows.push_back(name);
        testing::announce(*form, {static_cast<int>(rows.size())});
        form->sectionNames = {""};
        form->addFormCell(params(std::string("{\"_Type\": \"") + kExtension + "\", \"_Name\": \"" + name + "\"" +
                                 (extra.empty() ? "" : ", " + extra) + "}"),
                          delegate);
    }
    void present(Style style, std::optional<int> rowsOnScreen = std::nullopt) {
        form->modalPresentationStyle = style;
        root->present(form, false);
        dispatch::MainQueue::shared().runUntilIdle();
        table()->setRowsOnScreen(rowsOnScreen);
        table()->layoutIfNeeded();
    }
    std::shared_ptr<ui::UITableView> table() { return form->tableView(); }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<ui::UIViewController> root = std::make_shared<ui::UIViewController>();
    std::shared_ptr<FormCellContainerViewController> form = std::make_shared<FormCellContainerViewController>();
    std::shared_ptr<ui::UILabel> view = std::make_shared<ui::UILabel>();
    std::vector<std::string> rows;
};

class ExtensionReuse : public ExtensionInForm {};

TEST_F(ExtensionReuse, ARowWithoutAViewShowsAnEmptyCellEvenWhenTheCellShowedAnotherRowsView) {
    add(showing(view));
    add(std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{"onPress"}));
    present(Style::FullScreen, 1);
    auto cell = table()->cellForRow({0, 0});
    ASSERT_EQ(hostedViews(*cell), 1u);
    table()->scrollToRow({0, 1}, ui::UITableView::ScrollPosition::None, false);
    ASSERT_EQ(table()->cellForRow({0, 1}), cell);
    EXPECT_EQ(hostedViews(*cell), 0u);
}

// Where each hosted view's constraints point, as "view 0 in [0, 1]; ..."
// with every constraint that names another view than the one it should
// (the cell the view is in, or the view the cell holds) or is out of force
// listed after it; a view in no cell must hold none.
std::string pinningOf(const std::vector<std::shared_ptr<ui::UILabel>>& views,
                      const std::shared_ptr<ui::UITableView>& table) {
    std::string out;
    for (std::size_t i = 0; i < views.size(); ++i) {
        const auto& view = views[i];
        auto content = view->superview();
        std::shared_ptr<ui::UITableViewCell> cell;
        for (const auto& shown : table->visibleCells()) {
            if (shown->contentView() == content) cell = shown;
        }
        out += (out.empty() ? "view " : "; view ") + std::to_string(i) + " in " +
               (cell      ? table->indexPathForCell(*cell)->description()
                : content ? "a cell off screen"
                          : "no cell");
        auto wrong = [&](const ui::NSLayoutConstraint& c, const std::shared_ptr<ui::UIView>& other) {
            if (!c.isActive() || c.secondOwningView() != other) out += " (" + c.description() + " elsewhere)";
        };
        for (const auto& c : view->constraints()) wrong(*c, c->secondGuide() ? table : content);
        if (!content) continue;
        for (const auto& c : content->constraints()) wrong(*c, view);
    }
    return out;
}

TEST_F(ExtensionReuse, EveryHostedViewIsPinnedToTheCellItIsInWhileCellsGoFromViewToView) {
    // On a phone and on a tablet (sides to the table's readable width), with the
    // cell following the view or, with a height, the view following the cell.
    for (const auto& [model, extra, shape] :
         {std::tuple{ui::UIDevice::kPhoneModel, "", std::string(kPinnedToCell) + " / " + kCellFollowsView},
          std::tuple{
              ui::UIDevice::kPadModel, "",
              std::string("leading = readableContentGuide.leading; trailing = readableContentGuide.trailing / ") +
                  kCellFollowsView},
          std::tuple{
              ui::UIDevice::kPadModel, R"("Height": 80)",
              std::string("top = superview.top; bottom = superview.bottom; leading = readableContentGuide.leading; "
                          "trailing = readableContentGuide.trailing / ")}}) {
        SCOPED_TRACE(std::string(model) + " " + extra);
        form = std::make_shared<FormCellContainerViewController>();
        rows.clear();
        ui::UIDevice::current()->model = model;
        std::vector<std::shared_ptr<ui::UILabel>> views;
        for (int i = 0; i < 5; ++i) {
            views.push_back(std::make_shared<ui::UILabel>());
            add(showing(views.back()), extra);
        }
        present(Style::FullScreen, 2);
        EXPECT_EQ(pinningOf(views, table()),
                  "view 0 in [0, 0]; view 1 in [0, 1]; view 2 in no cell; view 3 in no "
                  "cell; view 4 in no cell");
        // Down a row at a time, back up, then jumps: each cell shows one view after another.
        for (int top : {1, 2, 3, 2, 1, 0, 3, 0}) {
            table()->scrollToRow({0, top}, ui::UITableView::ScrollPosition::Top, false);
            std::string expected;
            for (int i = 0; i < 5; ++i) {
                const bool shown = i == top || i == top + 1;
                const bool left = !shown && views[static_cast<std::size_t>(i)]->superview();
                expected += (i == 0 ? "view " : "; view ") + std::to_string(i) + " in " +
                            (shown  ? ui::IndexPath{0, i}.description()
                             : left ? "a cell off screen"
                                    : "no cell");
            }
            EXPECT_EQ(pinningOf(views, table()), expected) << "at row " << top;
            auto cell = table()->cellForRow({0, top});
            EXPECT_EQ(
                constraintsOf(*views[static_cast<std::size_t>(top)]) + " / " + constraintsOf(*cell->contentView()),
                shape);
            EXPECT_EQ(cell->className(), "UITableViewCell") << "hosts see the plain cell class";
        }
        root->dismiss(false);
        dispatch::MainQueue::shared().runUntilIdle();
    }
}

// The same view shown again in the same cell keeps its pins; whatever took
// them out of force or changed them in between is undone by pinning anew.
TEST_F(ExtensionReuse, TheSameViewBackInTheSameCellKeepsItsPinsUnlessTheyWereDisturbed) {
    add(showing(view));
    present(Style::FullScreen, 1);
    auto cell = table()->cellForRow({0, 0});
    auto content = cell->contentView();
    auto elsewhere = std::make_shared<ui::UIView>();
    const std::string shape = std::string(kPinnedToCell) + " / " + kCellFollowsView;
    auto reload = [&] {
        table()->reloadData();
        table()->layoutIfNeeded();
        ASSERT_EQ(table()->cellForRow({0, 0}), cell);
    };
    auto pins = [&] {
        auto all = view->constraints();
        all.insert(all.end(), content->constraints().begin(), content->constraints().end());
        return all;
    };
    const auto first = pins();
    reload();
    EXPECT_EQ(pins(), first) << "kept, not made again";
    EXPECT_EQ(hostedViews(*cell), 1u);

    const std::vector<std::pair<const char*, std::function<void()>>> disturbances{
        {"moved into another view", [&] { elsewhere->addSubview(view); }},
        {"moved out and back", [&] { elsewhere->addSubview(view), content->addSubview(view); }},
        {"a pin taken out of force", [&] { view->constraints()[0]->setActive(false); }},
        {"a pin's constant changed", [&] { content->constraints()[0]->constant = 8; }},
        {"left by itself", [&] { view->removeFromSuperview(); }},
    };
    for (const auto& [what, disturb] : disturbances) {
        SCOPED_TRACE(what);
        disturb();
        reload();
        EXPECT_EQ(pinningOf({view}, table()), "view 0 in [0, 0]");
        EXPECT_EQ(constraintsOf(*view) + " / " + constraintsOf(*content), shape);
        EXPECT_TRUE(elsewhere->subviews().empty());
        EXPECT_EQ(hostedViews(*cell), 1u);
    }
}

// The next row's view takes over the cell's pins only as they were made:
// pins changed in between are made anew for it, and the view before keeps none.
TEST_F(ExtensionReuse, AnotherRowsViewIsPinnedAsMadeEvenWhenTheCellsPinsWereDisturbed) {
    auto next = std::make_shared<ui::UILabel>();
    add(showing(view));
    add(showing(next));
    present(Style::FullScreen, 1);
    auto cell = table()->cellForRow({0, 0});
    auto content = cell->contentView();
    content->constraints()[0]->constant = 8;
    table()->scrollToRow({0, 1}, ui::UITableView::ScrollPosition::None, false);
    ASSERT_EQ(table()->cellForRow({0, 1}), cell);
    EXPECT_EQ(constraintsOf(*next) + " / " + constraintsOf(*content),
              std::string(kPinnedToCell) + " / " + kCellFollowsView);
    EXPECT_EQ(pinningOf({view, next}, table()), "view 0 in no cell; view 1 in [0, 1]");
    EXPECT_TRUE(view->constraints().empty());
}

class ExtensionOnATablet : public ExtensionInForm {
protected:
    void SetUp() override {
        ExtensionInForm::SetUp();
        ui::UIDevice::current()->model = ui::UIDevice::kPadModel;
    }
};

class ExtensionOnATabletPresented : public ExtensionOnATablet,
                                    public ::testing::WithParamInterface<std::pair<Style, std::string>> {};

TEST_P(ExtensionOnATabletPresented, TheSidesFollowTheReadableWidthOnlyInAFullScreenModalForm) {
    const auto& [style, guide] = GetParam();
    add(showing(view));
    present(style);
    EXPECT_EQ(constraintsOf(*view), "leading = " + guide + ".leading; trailing = " + guide + ".trailing");
    EXPECT_EQ(constraintsOf(*view->superview()), kCellFollowsView);
}

INSTANTIATE_TEST_SUITE_P(Styles, ExtensionOnATabletPresented,
                         ::testing::Values(std::pair{Style::FullScreen, std::string("readableContentGuide")},
                                           std::pair{Style::OverFullScreen, std::string("readableContentGuide")},
                                           std::pair{Style::FormSheet, std::string("layoutMarginsGuide")}));

TEST_F(ExtensionOnATablet, ANonModalFormFollowsTheLayoutMargins) {
    add(showing(view));
    window->setRootViewController(form);
    dispatch::MainQueue::shared().runUntilIdle();
    table()->layoutIfNeeded();
    EXPECT_EQ(constraintsOf(*view), "leading = layoutMarginsGuide.leading; trailing = layoutMarginsGuide.trailing");
}

TEST_F(ExtensionOnATablet, WithHeightTheViewIsPinnedToTheCellTopAndBottomAndTheGuideSides) {
    add(showing(view), R"("Height": 120)");
    present(Style::FullScreen);
    EXPECT_FALSE(view->translatesAutoresizingMaskIntoConstraints);
    EXPECT_EQ(constraintsOf(*view),
              "top = superview.top; bottom = superview.bottom; leading = readableContentGuide.leading; "
              "trailing = readableContentGuide.trailing");
    EXPECT_EQ(constraintsOf(*view->superview()), "");
}

TEST_F(ExtensionOnATablet, ASectionFollowsThePageThatShowsIt) {
    auto page = std::make_shared<ui::UIViewController>();
    page->modalPresentationStyle = Style::FullScreen;
    root->present(page, false);
    dispatch::MainQueue::shared().runUntilIdle();
    auto table = std::make_shared<ui::UITableView>();
    auto owner = std::make_shared<SectionOwner>();
    auto delegate = showing(view);
    FormCellFactory::registerFormCell(*table, kExtension, owner, delegate);
    FormCellFactory::getFormCell(*table, {0, 0}, kExtension, {}, owner, delegate, page);
    EXPECT_EQ(constraintsOf(*view), "leading = readableContentGuide.leading; trailing = readableContentGuide.trailing");
    EXPECT_EQ(view->constraints().front()->secondGuide()->owningView(), table);
}

}  // namespace
}  // namespace trc::formcells
