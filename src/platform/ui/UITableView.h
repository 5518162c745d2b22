#pragma once
// A headless table: rows from a data source, built into cells only while
// they are on screen, and cells reused as rows come and go.
//
// On screen: the rows are taken as one list in section order, and a window
// of at most rowsOnScreen() consecutive rows of it counts as on screen (no
// limit: every row). Row heights are answered (delegate, rowHeight,
// estimate) and set the cells' frames, but do not decide what is on screen;
// a scroll asks only the rows it brings on screen, the rows that stay keep
// their heights until a layout, reload or update asks again.
// scrollToRow moves the window; rows that leave give their cells to the
// reuse pool (their first responder resigns), rows that come get cells from
// the data source, which dequeues them.
//
// Loading: nothing is asked of the data source before the first layout
// (layoutIfNeeded). After that, reloadData, reloadSections and reloadRows
// re-ask at once and build the rows on screen before returning. A reload
// replaces a row's cell with another instance, so the old cell's first
// responder resigns. Reloads asked for while the table is building a row
// run after that row.
//
// Misuse never throws: an unregistered identifier, a row out of range or
// an update whose counts do not add up is logged as an error ("ui" logger)
// and the table recovers (no cell, nothing done, or a full reload).
// Once a test asks for it (recordUpdates), every reload, update and scroll
// is noted in updateLog(), which keeps the latest entries only.
//
// Scrolling a step touches no heap once the reuse pool holds a cell of each
// kind on screen: the rows on screen and the scratch lists of a layout keep
// their storage.
//
// The implementation is split by concern: UITableView.cpp (counts, heights,
// selection, log), UITableView+ReusePool.cpp (registration, dequeueing,
// recycling), UITableView+RowsOnScreen.cpp (the window of rows, layout,
// scrolling) and UITableView+Updates.cpp (reloads, inserts and deletes).
//
// The data source and delegate are held weakly. Main thread only.

#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/ClassInfo.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/UIView.h"

namespace trc::ui {

class UITableViewCell;
class UITableViewDataSource;
class UITableViewDelegate;
class UITableViewHeaderFooterView;

class UITableView : public UIView {
    TRC_OBJECT(UITableView)
public:
    enum class Style { Plain, Grouped, InsetGrouped };
    // Raw values as the platform numbers them.
    enum class RowAnimation {
        Fade = 0,
        Right = 1,
        Left = 2,
        Top = 3,
        Bottom = 4,
        None = 5,
        Middle = 6,
        Automatic = 100
    };
    enum class ScrollPosition { None = 0, Top = 1, Middle = 2, Bottom = 3 };
    static constexpr double automaticDimension = -1;
    static constexpr std::size_t kDefaultUpdateLogLimit = 256;

    using CellFactory = std::function<std::shared_ptr<UITableViewCell>()>;
    using HeaderFooterFactory = std::function<std::shared_ptr<UITableViewHeaderFooterView>()>;

    explicit UITableView(Style style = Style::Plain);

    Style style() const { return style_; }
    std::shared_ptr<UITableViewDataSource> dataSource() const { return dataSource_.lock(); }
    // Another data source starts the table over: the row counts and cells of
    // the one before are dropped (the cells go to the reuse pool), and
    // nothing is asked of the new one before the next layout.
    void setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource);
    std::shared_ptr<UITableViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate) { delegate_ = delegate; }

    double rowHeight = automaticDimension;
    double estimatedRowHeight = 44;
    double sectionHeaderHeight = automaticDimension;
    double sectionFooterHeight = automaticDimension;
    double estimatedSectionHeaderHeight = 0;
    bool cellLayoutMarginsFollowReadableWidth = false;
    std::optional<UIColor> separatorColor;

    // Registration. Registering another class under an identifier replaces
    // the factory and empties that identifier's reuse pool (cells of the
    // class replaced still on screen are let go as they leave); registering
    // the class already registered keeps the pool, so cells that left the
    // screen (and what they hold) stay for rows to come.
    void registerCell(const std::string& identifier, CellFactory factory, std::string className);
    template <class T>
    void registerClass(const std::string& identifier) {
        registerCell(
            identifier, [] { return std::make_shared<T>(); }, T::classInfo().name());
    }
    // The class name registered under the identifier, if any.
    std::optional<std::string> registeredClassName(const std::string& identifier) const;
    void registerHeaderFooter(const std::string& identifier, HeaderFooterFactory factory, std::string className);
    template <class T>
    void registerHeaderFooterClass(const std::string& identifier) {
        registerHeaderFooter(
            identifier, [] { return std::make_shared<T>(); }, T::classInfo().name());
    }

    // A cell that left the screen under that identifier, else a new one from
    // the registered factory; nullptr and an error log when nothing is registered.
    std::shared_ptr<UITableViewCell> dequeueReusableCell(std::string_view identifier, const IndexPath& indexPath);
    // The same without a row; nullptr (no error) when nothing is registered.
    std::shared_ptr<UITableViewCell> dequeueReusableCell(std::string_view identifier);
    std::shared_ptr<UITableViewHeaderFooterView> dequeueReusableHeaderFooterView(std::string_view identifier);

    // Counts as last loaded from the data source (loaded on first use).
    int numberOfSections();
    int numberOfRowsInSection(int section);
    const std::vector<int>& rowCounts();
    bool isValid(const IndexPath& indexPath);

    void reloadData();
    void reloadSections(const std::vector<int>& sections, RowAnimation animation);
    void reloadRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation);
    void insertRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation);
    void deleteRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation);
    // Row changes between the two are applied together at the outermost
    // endUpdates, which also lets row heights follow.
    void beginUpdates();
    void endUpdates();
    int beginUpdatesCount() const { return beginUpdatesCount_; }
    int endUpdatesCount() const { return endUpdatesCount_; }

    // The row's cell while the row is on screen, else nullptr.
    std::shared_ptr<UITableViewCell> cellForRow(const IndexPath& indexPath) const;
    std::optional<IndexPath> indexPathForCell(const UITableViewCell& cell) const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const;

    std::optional<int> rowsOnScreen() const { return rowsOnScreen_; }
    void setRowsOnScreen(std::optional<int> rows);
    void scrollToRow(const IndexPath& indexPath, ScrollPosition position, bool animated);

    double heightForRow(const IndexPath& indexPath);
    double heightForHeader(int section);
    double heightForFooter(int section);
    // The header view of a section on screen, if it has one.
    std::shared_ptr<UIView> headerView(int section) const;
    std::optional<std::string> titleForHeader(int section);

    // A person taps the row: it is selected and the delegate hears of it.
    // False (nothing done) when the row is not on screen.
    bool selectRow(const IndexPath& indexPath);
    void deselectRow(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }

    // Starts an empty update log that keeps the latest `limit` entries
    // (at least one); until then nothing is noted.
    void recordUpdates(std::size_t limit = kDefaultUpdateLogLimit);
    const std::vector<std::string>& updateLog() const { return updateLog_; }
    // Empties the log and records from here on, as recordUpdates() with the
    // limit in force (the default one when not recording yet).
    void clearUpdateLog() { recordUpdates(recordsUpdates() ? updateLogLimit_ : kDefaultUpdateLogLimit); }
    int reloadDataCount() const { return reloadDataCount_; }
    // True once the table has laid out (and so built) its rows.
    bool hasLaidOut() const { return laidOut_; }

    void layoutSubviews() override;

private:
    struct Registration {
        CellFactory factory;
        std::string className;
        // Cells of the class that left the screen, to be handed out again.
        std::vector<std::shared_ptr<UITableViewCell>> pool;
        // classChanges_ when this class was registered: a cell this table
        // made before then is of the class replaced.
        std::uint64_t classSince = 0;
    };
    struct HeaderRegistration {
        HeaderFooterFactory factory;
        std::string className;
    };
    // Identifiers are looked up by view, without building a key string.
    // Every dequeue and recycle hashes one, so the hash reads a few words
    // (the length, the start, the middle and the end) instead of every
    // character: a table's identifiers are few and differ there, and two
    // that do not are still told apart by comparing them.
    struct IdentifierHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept;
    };
    template <class V>
    using ByIdentifier = std::unordered_map<std::string, V, IdentifierHash, std::equal_to<>>;
    // The rows on screen with their cells, ordered by index path.
    using ShownCell = std::pair<IndexPath, std::shared_ptr<UITableViewCell>>;
    // A list that lets rows go from its front by moving its start, as a
    // scroll down does at every step, instead of moving every row that
    // stays; the room at the front is taken back when the end needs it.
    class ShownCells {
    public:
        using iterator = ShownCell*;
        using const_iterator = const ShownCell*;
        iterator begin() { return slots_.data() + head_; }
        iterator end() { return slots_.data() + slots_.size(); }
        const_iterator begin() const { return slots_.data() + head_; }
        const_iterator end() const { return slots_.data() + slots_.size(); }
        std::reverse_iterator<iterator> rbegin() { return std::reverse_iterator<iterator>(end()); }
        std::reverse_iterator<iterator> rend() { return std::reverse_iterator<iterator>(begin()); }
        ShownCell* data() { return begin(); }
        std::size_t size() const { return slots_.size() - head_; }
        bool empty() const { return size() == 0; }
        ShownCell& operator[](std::size_t i) { return slots_[head_ + i]; }
        ShownCell& front() { return slots_[head_]; }
        ShownCell& back() { return slots_.back(); }
        const ShownCell& front() const { return slots_[head_]; }
        const ShownCell& back() const { return slots_.back(); }
        void clear() {
            slots_.clear();
            head_ = 0;
        }
        iterator erase(iterator first, iterator last) {
            if (first == last) return first;
            if (first == begin() && last != end()) {
                for (auto it = first; it != last; ++it) it->second.reset();
                head_ += static_cast<std::size_t>(last - first);
                return begin();
            }
            const auto at = first - slots_.data();
            slots_.erase(slots_.begin() + at, slots_.begin() + (last - slots_.data()));
            if (slots_.size() == head_) clear();
            return slots_.data() + (slots_.empty() ? 0 : at);
        }
        iterator erase(iterator at) { return erase(at, at + 1); }
        // The first or the last row leaves (a one-row scroll step), its cell
        // handed to the caller.
        std::shared_ptr<UITableViewCell> takeFront() {
            std::shared_ptr<UITableViewCell> cell = std::move(slots_[head_].second);
            if (++head_ == slots_.size()) clear();
            return cell;
        }
        std::shared_ptr<UITableViewCell> takeBack() {
            std::shared_ptr<UITableViewCell> cell = std::move(slots_.back().second);
            slots_.pop_back();
            if (slots_.size() == head_) clear();
            return cell;
        }
        template <class... Args>
        ShownCell& emplace_back(Args&&... args) {
            if (head_ > 0 && slots_.size() == slots_.capacity()) {
                // Room for four times the rows, made once, so that the rows
                // are moved down every three times as many steps as they number.
                if (slots_.capacity() < 4 * size()) {
                    std::vector<ShownCell> roomier;
                    roomier.reserve(4 * size());
                    roomier.assign(std::make_move_iterator(begin()), std::make_move_iterator(end()));
                    slots_ = std::move(roomier);
                } else {
                    std::move(begin(), end(), slots_.begin());
                    slots_.resize(size());
                }
                head_ = 0;
            }
            return slots_.emplace_back(std::forward<Args>(args)...);
        }

    private:
        std::vector<ShownCell> slots_;
        std::size_t head_ = 0;  // rows before it have left
    };

    // The row count of each section, with the flat index where each section
    // starts: every scroll step asks for a section's start and the total,
    // which are read here instead of summed. The counts are only ever set
    // whole, and the starts with them, so they cannot fall out of step.
    class RowCounts {
    public:
        RowCounts& operator=(std::vector<int> counts);
        void clear() {
            counts_.clear();
            starts_.clear();
        }
        const std::vector<int>& list() const { return counts_; }
        std::size_t size() const { return counts_.size(); }
        int operator[](std::size_t section) const { return counts_[section]; }
        std::vector<int>::const_iterator begin() const { return counts_.begin(); }
        std::vector<int>::const_iterator end() const { return counts_.end(); }
        // The rows before the section (section < size()).
        int start(std::size_t section) const { return starts_[section]; }
        int total() const { return starts_.empty() ? 0 : starts_.back(); }

    private:
        std::vector<int> counts_;
        std::vector<int> starts_;  // one more than counts_, the last the total; empty with it
    };

    static void logError(const std::string& message);
    bool recordsUpdates() const { return updateLogLimit_ > 0; }
    void note(std::string entry);
    std::vector<int> queryCounts();
    void loadCounts() {
        rowCounts_ = queryCounts();
        countsLoaded_ = true;
    }
    void ensureCounts() {
        if (!countsLoaded_) loadCounts();
    }
    bool validIn(const std::vector<int>& counts, const IndexPath& indexPath) const;
    std::shared_ptr<UITableViewCell> takeCell(std::string_view identifier, bool logMissing);
    // A new cell from the registration's factory, marked as its pool's.
    std::shared_ptr<UITableViewCell> makeCell(Registration& reg, std::string_view identifier);
    void buildHeaders(const std::vector<IndexPath>& wanted);
    // The header height of a section on screen, asked again unless a scroll lays out.
    double shownHeaderHeight(int section);
    int totalRows() const { return rowCounts_.total(); }
    // The row's index in the rows taken as one list; the row is in the table.
    int flatIndex(const IndexPath& indexPath) const {
        return rowCounts_.start(static_cast<std::size_t>(indexPath.section)) + indexPath.row;
    }
    void clampFirstVisible();
    // Fills wanted_ with the rows of the window, in order.
    void collectWantedRows();
    ShownCells::iterator shownCell(const IndexPath& indexPath);
    ShownCells::const_iterator shownCell(const IndexPath& indexPath) const;
    void layoutRows();
    // One pass of layoutRows: the window moved within one section (false,
    // nothing done, when the rows on screen do not allow it), or any change.
    bool scrollWithinSection();
    void layoutWantedRows();
    // Builds the row's cell into cells_; at, when given, is where it is expected to go.
    void buildCell(const IndexPath& indexPath, std::optional<std::size_t> at = std::nullopt);
    void recycle(std::shared_ptr<UITableViewCell> cell);
    // The cell is no longer one of the rows on screen.
    void leftRows(UITableViewCell* cell) const;
    // Every row on screen gives its cell to the reuse pool.
    void recycleRows();
    void recycleHeaders();
    void reloadAll(const char* reason);
    void applyRowChanges(std::vector<IndexPath> deletes, std::vector<IndexPath> inserts, const char* what);

    Style style_;
    // Tells this table from any other, even one at the same address before.
    std::uint64_t serial_;
    std::weak_ptr<UITableViewDataSource> dataSource_;
    std::weak_ptr<UITableViewDelegate> delegate_;
    ByIdentifier<Registration> registrations_;
    // Counts the registrations that replaced a class; see Registration::classSince.
    std::uint64_t classChanges_ = 0;
    ByIdentifier<HeaderRegistration> headerRegistrations_;
    ByIdentifier<std::vector<std::shared_ptr<UITableViewHeaderFooterView>>> headerPool_;
    ShownCells cells_;
    // The sections on screen, asked for their header once each while they stay.
    struct ShownHeader {
        std::shared_ptr<UIView> view;  // none when the section has no header
        std::optional<double> height;  // asked at a layout, kept by a scroll
    };
    std::map<int, ShownHeader> headers_;
    // Scratch lists of layoutRows, kept for their storage.
    std::vector<IndexPath> wanted_;
    std::vector<int> wantedSections_;
    std::vector<std::shared_ptr<UITableViewCell>> leaving_;
    // Per wanted row: its cell was built in this layout (a byte each, cheaper
    // to read per row than a bit).
    std::vector<unsigned char> builtNow_;
    bool scrolling_ = false;  // the layout is a scroll's
    RowCounts rowCounts_;
    std::optional<int> rowsOnScreen_;
    int firstVisible_ = 0;
    std::optional<IndexPath> selected_;
    bool countsLoaded_ = false;
    bool laidOut_ = false;
    bool building_ = false;
    bool reloadPending_ = false;
    int updateDepth_ = 0;
    std::vector<IndexPath> pendingDeletes_;
    std::vector<IndexPath> pendingInserts_;
    int beginUpdatesCount_ = 0;
    int endUpdatesCount_ = 0;
    int reloadDataCount_ = 0;
    std::size_t updateLogLimit_ = 0;  // 0: not recording
    std::vector<std::string> updateLog_;
};

const char* rowAnimationName(UITableView::RowAnimation animation);
const char* scrollPositionName(UITableView::ScrollPosition position);

}  // namespace trc::ui
