#include <gtest/gtest.h>

#include <type_traits>

#include "platform/core/Block.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/ClassRegistry.h"

using namespace trc::core;

namespace {

// A small class tree: Animal answers a few selectors and adopts a protocol;
// Dog inherits them, overrides one and adds its own.
class Animal : public Object {
    TRC_OBJECT(Animal)
public:
    std::string name = "generic";
    int calls = 0;
};

class Dog : public Animal {
    TRC_OBJECT(Dog)
};

class Sealed : public Object {
    TRC_OBJECT(Sealed)
public:
    explicit Sealed(int) {}
};

// Objects have identity: no copy of one, or of anything derived from it.
static_assert(!std::is_copy_constructible_v<Object> && !std::is_copy_assignable_v<Object>);
static_assert(!std::is_copy_constructible_v<Dog> && !std::is_copy_assignable_v<Dog>);

}  // namespace

const ClassInfo& Animal::classInfo() {
    static const ClassInfo& info =
        ClassBuilder<Animal>("ObjectTestAnimal", Object::classInfo())
            .constructible()
            .protocol("Named")
            .method("speak", [](Animal&, Args) { return Value("..."); })
            .method("rename:",
                    [](Animal& self, Args a) {
                        self.name = a[0].description();
                        return Value();
                    })
            .method("add:to:", [](Animal&, Args a) { return Value(*a[0].asInteger() + *a[1].asInteger()); })
            .method("count", [](Animal& self, Args) { return Value(++self.calls); })
            .method(
                "variadic", [](Animal&, Args a) { return Value(static_cast<int>(a.size())); }, 2)
            .property("name", [](const Animal& self) { return Value(self.name); })
            .classMethod("kingdom", [](Args) { return Value("animalia"); })
            .classProperty("legs", [] { return Value(4); })
            .build();
    return info;
}

const ClassInfo& Dog::classInfo() {
    static const ClassInfo& info = ClassBuilder<Dog>("ObjectTestDog", Animal::classInfo())
                                       .constructible()
                                       .protocol("Loyal")
                                       .method("speak", [](Dog&, Args) { return Value("woof"); })
                                       .property("tricks", [](const Dog&) { return Value(3); })
                                       .build();
    return info;
}

const ClassInfo& Sealed::classInfo() {
    static const ClassInfo& info =
        ClassBuilder<Sealed>("ObjectTestSealed", Object::classInfo()).constructible().build();
    return info;
}

class ObjectDispatch : public ::testing::Test {
protected:
    std::shared_ptr<Dog> dog = std::make_shared<Dog>();
};

TEST_F(ObjectDispatch, AnswersOwnAndInheritedSelectors) {
    EXPECT_TRUE(dog->respondsToSelector("speak"));
    EXPECT_TRUE(dog->respondsToSelector("rename:"));
    EXPECT_FALSE(dog->respondsToSelector("rename"));  // the colon is part of the name
    EXPECT_EQ(dog->perform("speak"), Value("woof"));
    EXPECT_EQ(std::make_shared<Animal>()->perform("speak"), Value("..."));
    dog->perform("rename:", Value("rex"));
    EXPECT_EQ(dog->valueForKey("name"), Value("rex"));
    EXPECT_EQ(dog->perform("add:to:", Value(2), Value(3)), Value(5));
    EXPECT_EQ(dog->perform("variadic", Value(1), Value(2)), Value(2));
}

TEST_F(ObjectDispatch, UnknownSelectorIsADispatchErrorNamingIt) {
    try {
        dog->perform("fly");
        FAIL() << "no error";
    } catch (const DispatchError& e) {
        EXPECT_STREQ(e.what(), "an object of class ObjectTestDog does not answer \"fly\"");
    }
    EXPECT_EQ(dog->calls, 0);
}

TEST_F(ObjectDispatch, WrongArgumentCountIsRefusedBeforeTheMethodRuns) {
    try {
        dog->perform("count", Value(1));
        FAIL() << "no error";
    } catch (const DispatchError& e) {
        EXPECT_STREQ(e.what(), "\"count\" of class ObjectTestDog takes 0 argument(s), 1 given");
    }
    EXPECT_THROW(dog->perform("add:to:", Value(1)), DispatchError);
    EXPECT_THROW(dog->perform("rename:"), DispatchError);
    EXPECT_EQ(dog->calls, 0);
    EXPECT_EQ(dog->name, "generic");
}

TEST_F(ObjectDispatch, ProtocolsAndKindAreInherited) {
    EXPECT_TRUE(dog->conformsToProtocol("Named"));
    EXPECT_TRUE(dog->conformsToProtocol("Loyal"));
    EXPECT_FALSE(std::make_shared<Animal>()->conformsToProtocol("Loyal"));
    EXPECT_FALSE(dog->conformsToProtocol("named"));
    EXPECT_TRUE(dog->isKindOf(Animal::classInfo()));
    EXPECT_TRUE(dog->isKindOf(Object::classInfo()));
    EXPECT_FALSE(std::make_shared<Animal>()->isKindOf(Dog::classInfo()));
    EXPECT_EQ(dog->className(), "ObjectTestDog");
}

TEST_F(ObjectDispatch, ValueForKeyReadsInheritedPropertiesAndRefusesOthers) {
    EXPECT_EQ(dog->valueForKey("tricks"), Value(3));
    EXPECT_EQ(dog->valueForKey("name"), Value("generic"));
    EXPECT_TRUE(dog->hasValueForKey("name"));
    EXPECT_FALSE(dog->hasValueForKey("wings"));
    EXPECT_THROW(dog->valueForKey("wings"), DispatchError);
}

TEST_F(ObjectDispatch, ClassMethodsAndPropertiesWalkSuperclasses) {
    const ClassInfo& cls = Dog::classInfo();
    EXPECT_EQ(cls.performClassMethod("kingdom", {}), Value("animalia"));
    EXPECT_THROW(cls.performClassMethod("kingdom", std::vector<Value>{1}), DispatchError);
    EXPECT_THROW(cls.performClassMethod("nope", {}), DispatchError);
    ASSERT_NE(cls.findClassProperty("legs"), nullptr);
    EXPECT_EQ((*cls.findClassProperty("legs"))(), Value(4));
}

TEST(ClassRegistryLookup, FindsClassesByRegisteredName) {
    Dog::classInfo();
    const ClassInfo* found = ClassRegistry::shared().find("ObjectTestDog");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &Dog::classInfo());
    EXPECT_EQ(found->superclass(), &Animal::classInfo());
    EXPECT_EQ(ClassRegistry::shared().find("ObjectTestNoSuchClass"), nullptr);
    auto names = ClassRegistry::shared().names();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_NE(std::find(names.begin(), names.end(), "NSObject"), names.end());
}

TEST(ClassRegistryLookup, InstantiatesOnlyWhatHasAFactory) {
    Dog::classInfo();
    auto made = ClassRegistry::shared().find("ObjectTestDog")->instantiate();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->className(), "ObjectTestDog");
    // constructible() on a class without a default constructor gives no factory.
    EXPECT_FALSE(Sealed::classInfo().canInstantiate());
    EXPECT_EQ(Sealed::classInfo().instantiate(), nullptr);
}

TEST(BlockCalls, ResolveAndRejectPassTheirArguments) {
    std::vector<Value> seen;
    auto block = Block::make([&](const std::vector<Value>& args) {
        seen = args;
        return Value(static_cast<int>(args.size()));
    });
    block->resolve(Value("done"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], Value("done"));
    block->reject(Value("E1"), Value("failed"));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1], Value("failed"));
    EXPECT_TRUE(seen[2].isNil());
    EXPECT_EQ(block->call({1, 2}), Value(2));
}

TEST(BlockCalls, EmptyBlockDoesNothingAndTravelsInAValue) {
    auto empty = std::make_shared<Block>();
    EXPECT_TRUE(empty->call({1}).isNil());
    Value v(empty);
    EXPECT_EQ(v.ifObjectOf<Block>(), empty);
    EXPECT_EQ(v.ifObjectOf<Dog>(), nullptr);
    EXPECT_EQ(empty->className(), "NSBlock");
}
