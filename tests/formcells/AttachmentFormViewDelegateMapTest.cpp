#include "formcells/AttachmentFormViewDelegateMap.h"

#include <gtest/gtest.h>

#include <string>

#include "formcells/AttachmentFormViewDelegate.h"

namespace trc::formcells {
namespace {

using Map = AttachmentFormViewDelegateMap;

std::shared_ptr<AttachmentFormViewDelegate> delegateFor(const ui::IndexPath& path) {
    return std::make_shared<AttachmentFormViewDelegate>(nullptr, path, core::Dictionary());
}

// Enough names and index paths that the table grows several times and
// keys meet in their probe runs: each still finds its own delegate.
TEST(AttachmentFormViewDelegateMap, EveryKeyKeepsItsOwnDelegateAsTheTableGrows) {
    Map map;
    constexpr int kRows = 3000;
    for (int i = 0; i < kRows; ++i) {
        const ui::IndexPath path{i % 3, i};
        map.slot(std::string_view("Row" + std::to_string(i))) = delegateFor(path);
        map.slot(path) = delegateFor(path);
    }
    ASSERT_EQ(map.size(), 2u * kRows);
    for (int i = 0; i < kRows; ++i) {
        const ui::IndexPath path{i % 3, i};
        const auto* named = map.find(std::string_view("Row" + std::to_string(i)));
        const auto* unnamed = map.find(path);
        ASSERT_TRUE(named && *named && unnamed && *unnamed) << i;
        EXPECT_EQ((*named)->iPath, path);
        EXPECT_EQ((*unnamed)->iPath, path);
        EXPECT_NE(*named, *unnamed);
    }
    EXPECT_EQ(map.find(std::string_view("Row")), nullptr);
    EXPECT_EQ(map.find(std::string_view("Row3000")), nullptr);
    EXPECT_EQ(map.find(ui::IndexPath{1, 0}), nullptr) << "row 0 was in section 0";
    EXPECT_EQ(map.size(), 2u * kRows) << "a look-up adds nothing";
}

// Names kept in the slot and names kept apart from it (the longer ones),
// each a prefix of the next, or differing in one byte anywhere: each
// finds its own delegate and no other.
TEST(AttachmentFormViewDelegateMap, NamesOfEveryLengthAreToldApartByEveryByte) {
    Map map;
    const std::string longest(40, 'n');
    for (std::size_t size = 0; size <= longest.size(); ++size) {
        map.slot(std::string_view(longest).substr(0, size)) = delegateFor({0, static_cast<int>(size)});
        std::string other = longest.substr(0, size);
        if (size > 0) other[size / 2] = 'm';
        map.slot(std::string_view(other)) = delegateFor({1, static_cast<int>(size)});
    }
    ASSERT_EQ(map.size(), 2 * longest.size() + 1) << "the empty name twice is one key";
    for (std::size_t size = 1; size <= longest.size(); ++size) {
        const auto* kept = map.find(std::string_view(longest).substr(0, size));
        ASSERT_TRUE(kept && *kept) << size;
        EXPECT_EQ((*kept)->iPath, (ui::IndexPath{0, static_cast<int>(size)}));
        std::string other = longest.substr(0, size);
        other[size / 2] = 'm';
        kept = map.find(std::string_view(other));
        ASSERT_TRUE(kept && *kept) << size;
        EXPECT_EQ((*kept)->iPath, (ui::IndexPath{1, static_cast<int>(size)}));
    }
    EXPECT_EQ(map.find(std::string_view(longest + "n")), nullptr);
}

TEST(AttachmentFormViewDelegateMap, ASlotIsMadeOnceAndKeepsItsNameWhenTheNamesTextChanges) {
    Map map;
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.find(std::string_view("a")), nullptr);
    std::string name = "WorkOrderFormRow0001";
    auto& made = map.slot(std::string_view(name));
    EXPECT_FALSE(made) << "a new key's slot is empty";
    made = delegateFor({0, 1});
    name.replace(0, 4, "Task");  // the row's text the key was viewed in
    EXPECT_EQ(map.find(std::string_view("TaskOrderFormRow0001")), nullptr);
    const auto* kept = map.find(std::string_view("WorkOrderFormRow0001"));
    ASSERT_TRUE(kept && *kept);
    EXPECT_EQ(&map.slot(std::string_view("WorkOrderFormRow0001")), kept);
    EXPECT_EQ(map.size(), 1u);
    // A name and an index path never stand for each other, even the empty name.
    EXPECT_EQ(map.find(std::string_view("")), nullptr);
    map.slot(ui::IndexPath{}) = delegateFor({});
    EXPECT_EQ(map.find(std::string_view("")), nullptr);
    EXPECT_NE(map.find(ui::IndexPath{}), nullptr);
}

}  // namespace
}  // namespace trc::formcells
