#include <gtest/gtest.h>

#include <memory>

#include "platform/core/ExactClass.h"

namespace trc::core {
namespace {

struct Base {
    virtual ~Base() = default;
};
struct Middle : Base {};
struct Leaf : Middle {};
struct Other : Base {};
// A second base puts Middle at an offset inside it: the casts must adjust the pointer.
struct Extra {
    virtual ~Extra() = default;
    int padding = 0;
};
struct Offset : Extra, Middle {};

TEST(ExactClass, OnlyTheClassItselfIsExactly) {
    Middle middle;
    Leaf leaf;
    const Base& asBase = leaf;
    EXPECT_TRUE(isExactly<Middle>(middle));
    EXPECT_FALSE(isExactly<Middle>(leaf));  // derived from it, not it
    EXPECT_TRUE(isExactly<Leaf>(asBase));   // by the object's class, not the reference's
    EXPECT_FALSE(isExactly<Base>(asBase));
}

// Both casts answer what dynamic_cast answers, for the class itself, a
// derived class, an unrelated one, an adjusted base and nothing.
TEST(ExactClass, CastsAnswerAsTheCastThatWalksTheTree) {
    auto middle = std::make_shared<Middle>();
    auto leaf = std::make_shared<Leaf>();
    auto other = std::make_shared<Other>();
    auto offset = std::make_shared<Offset>();
    for (int round = 0; round < 3; ++round) {  // the remembered answers too
        for (const std::shared_ptr<Base>& object : std::initializer_list<std::shared_ptr<Base>>{
                 middle, leaf, other, std::static_pointer_cast<Middle>(offset), nullptr}) {
            Middle* expected = dynamic_cast<Middle*>(object.get());
            EXPECT_EQ(exactOrDynamicCast<Middle>(object.get()), expected);
            EXPECT_EQ(exactOrDynamicCast<Middle>(object).get(), expected);
            EXPECT_EQ(rememberedCast<Middle>(object).get(), expected);
            if (object) {
                EXPECT_EQ(rememberedCast<Middle>(*object), expected);
            }
        }
    }
    // A class remembered as no Middle stays none, and a Leaf stays one.
    EXPECT_EQ(rememberedCast<Middle>(static_cast<Base&>(*other)), nullptr);
    EXPECT_EQ(rememberedCast<Middle>(static_cast<Base&>(*leaf)), leaf.get());
    // Another target class remembers on its own.
    EXPECT_EQ(rememberedCast<Leaf>(static_cast<Base&>(*middle)), nullptr);
    EXPECT_EQ(rememberedCast<Leaf>(static_cast<Base&>(*leaf)), leaf.get());
}

}  // namespace
}  // namespace trc::core
