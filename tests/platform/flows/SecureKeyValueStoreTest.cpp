#include "platform/flows/SecureKeyValueStore.h"

#include <filesystem>

#include "FlowTestSupport.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/foundation/AtomicFile.h"

namespace trc::flows::test {
namespace {

namespace fs = std::filesystem;
using Case = StoreManagerError::Case;
const auto kMin = SecureKeyValueStore::KeyDerivationLimits::minimum();

core::Data bytes(const std::string& s) { return core::Data(s.begin(), s.end()); }

Case caseOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StoreManagerError& e) {
        return e.errorCase();
    }
    ADD_FAILURE() << "no StoreManagerError";
    return Case::storeUnavailable;
}

class SecureStore : public FlowTest {
protected:
    fs::path path = foundation::Sandbox::root() / "stores" / "one.store";
};

TEST_F(SecureStore, EntriesSurviveReopeningWithThePasscodeAndAreNotReadableOnDisk) {
    auto store = SecureKeyValueStore::create(path, std::string("25803614"), false, 3, kMin);
    store->put(bytes("secret-token-value"), "token");
    store->put(bytes("x"), "other");
    store->remove("other");
    std::error_code ec;
    auto raw = foundation::AtomicFile::read(path, ec);
    ASSERT_TRUE(raw);
    std::string onDisk(raw->begin(), raw->end());
    EXPECT_EQ(onDisk.find("secret-token-value"), std::string::npos);
    EXPECT_EQ(onDisk.find("token"), std::string::npos);

    auto reopened = SecureKeyValueStore::open(path, std::string("25803614"));
    EXPECT_EQ(reopened->get("token"), bytes("secret-token-value"));
    EXPECT_EQ(reopened->keys(), std::vector<std::string>{"token"});
    EXPECT_EQ(reopened->mode(), SecureKeyValueStore::Mode::passcode);
}

TEST_F(SecureStore, WrongPasscodesCountTowardTheRetryLimitAndARightOneResetsTheCount) {
    SecureKeyValueStore::create(path, std::string("11112222"), false, 3, kMin);
    EXPECT_EQ(caseOf([&] { SecureKeyValueStore::open(path, std::string("99990000")); }), Case::wrongPasscode);
    try {
        SecureKeyValueStore::open(path, std::string("99990001"));
    } catch (const StoreManagerError& e) {
        EXPECT_EQ(e.remainingAttempts(), 1);
    }
    SecureKeyValueStore::open(path, std::string("11112222"));
    EXPECT_EQ(SecureKeyValueStore::readHeader(path)->failedAttempts, 0u);

    for (int i = 0; i < 2; ++i) caseOf([&] { SecureKeyValueStore::open(path, std::string("00000000")); });
    EXPECT_EQ(caseOf([&] { SecureKeyValueStore::open(path, std::string("00000000")); }), Case::passcodeRetryLimitReached);
    EXPECT_EQ(caseOf([&] { SecureKeyValueStore::open(path, std::string("11112222")); }), Case::passcodeRetryLimitReached)
        << "at the limit even the right passcode is refused";
}

TEST_F(SecureStore, TruncatedTamperedOrForeignFilesGiveATypedErrorNeverACrash) {
    auto store = SecureKeyValueStore::create(path, std::string("25803614"), false, 10, kMin);
    store->put(bytes("value"), "key");
    std::string good = foundation::AtomicFile::read(path);

    for (std::size_t cut : {std::size_t(0), std::size_t(7), std::size_t(60), good.size() - 1}) {
        foundation::AtomicFile::write(path, good.substr(0, cut));
        EXPECT_EQ(caseOf([&] { SecureKeyValueStore::open(path, std::string("25803614")); }), Case::storeCorrupted)
            << "cut at " << cut;
    }
    auto tampered = good;
    tampered.back() = static_cast<char>(tampered.back() ^ 0x01);
    foundation::AtomicFile::write(path, tampered);
    EXPECT_EQ(caseOf([&] { SecureKeyValueStore::open(path, std::string("25803614")); }), Case::storeCorrupted);

    auto costly = good;
    costly[24] = static_cast<char>(0xff);  // a memory limit far beyond what a store may ask for
    costly[31] = 0x7f;
    foundation::AtomicFile::write(path, costly);
    EXPECT_EQ(caseOf([&] { SecureKeyValueStore::readHeader(path); }), Case::storeCorrupted);

    EXPECT_EQ(caseOf([&] { SecureKeyValueStore::open(path.parent_path() / "none.store", std::nullopt); }),
              Case::storeNotFound);
}

TEST_F(SecureStore, ACrashBetweenWritesLeavesTheOldContentOrTheNewNeverAMix) {
    auto store = SecureKeyValueStore::create(path, std::nullopt, false, 0, kMin);
    store->put(bytes("first"), "k");
    store->beforeReplaceForTesting = [] { throw std::runtime_error("power lost"); };
    EXPECT_THROW(store->put(bytes("second"), "k"), std::runtime_error);
    EXPECT_EQ(foundation::AtomicFile::leftovers(path).size(), 1u);
    EXPECT_EQ(SecureKeyValueStore::open(path, std::nullopt)->get("k"), bytes("first"));

    store->beforeReplaceForTesting = nullptr;
    store->put(bytes("third"), "k");
    EXPECT_EQ(SecureKeyValueStore::open(path, std::nullopt)->get("k"), bytes("third"));
}

TEST_F(SecureStore, AStoreWithoutPasscodeUsesItsKeyFileAndChangingThePasscodeSealsItAnew) {
    auto store = SecureKeyValueStore::create(path, std::nullopt, false, 5, kMin);
    store->put(bytes("v"), "k");
    EXPECT_TRUE(fs::exists(SecureKeyValueStore::keyFilePath(path)));
    EXPECT_EQ(fs::status(SecureKeyValueStore::keyFilePath(path)).permissions() & fs::perms::others_read, fs::perms::none);
    store->changePasscode("12345678", true);
    EXPECT_FALSE(fs::exists(SecureKeyValueStore::keyFilePath(path)));
    EXPECT_EQ(SecureKeyValueStore::readHeader(path)->mode, SecureKeyValueStore::Mode::passcodeWithBiometric);
    EXPECT_EQ(SecureKeyValueStore::open(path, std::string("12345678"))->get("k"), bytes("v"));
    SecureKeyValueStore::destroy(path);
    EXPECT_FALSE(SecureKeyValueStore::readHeader(path));
}

}  // namespace
}  // namespace trc::flows::test
