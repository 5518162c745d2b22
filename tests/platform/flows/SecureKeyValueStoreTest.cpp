#include "platform/flows/SecureKeyValueStore.h"

#include <filesystem>

#include "FlowTestSupport.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FaultyFiles.h"
#include "platform/foundation/KilledWrite.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::flows::test {
namespace {

namespace fs = std::filesystem;
using Case = StoreManagerError::Case;
const auto kMin = SecureKeyValueStore::KeyDerivationLimits::minimum();

core::Data bytes(const std::string& s) { return core::Data(s.begin(), s.end()); }

using testing::FaultyFiles;
using testing::killedDuringWrite;
using Op = foundation::FileOperation;

StoreManagerError errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StoreManagerError& e) {
        return e;
    }
    ADD_FAILURE() << "no StoreManagerError";
    return StoreManagerError(Case::skipPasscodeSetup);
}

Case caseOf(const std::function<void()>& f) { return errorOf(f).errorCase(); }

class SecureStore : public FlowTest {
protected:
    fs::path path = foundation::Sandbox::root() / "stores" / "one.store";

    std::string onDisk() const { return foundation::AtomicFile::read(path); }
    // "wrongPasscode 2": the case of opening with passcode, and the attempts left.
    std::string tryPasscode(const std::string& passcode) const {
        try {
            SecureKeyValueStore::open(path, passcode);
            return "opened";
        } catch (const StoreManagerError& e) {
            switch (e.errorCase()) {
            case Case::wrongPasscode: return "wrongPasscode " + std::to_string(e.remainingAttempts());
            case Case::passcodeRetryLimitReached: return "passcodeRetryLimitReached";
            case Case::storeNotFound: return "storeNotFound";
            case Case::storeCorrupted: return "storeCorrupted";
            case Case::storeUnavailable: return "storeUnavailable";
            default: return "other";
            }
        }
    }
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
    EXPECT_EQ(caseOf([&] { SecureKeyValueStore::open(path, std::string("00000000")); }),
              Case::passcodeRetryLimitReached);
    EXPECT_EQ(caseOf([&] { SecureKeyValueStore::open(path, std::string("11112222")); }),
              Case::passcodeRetryLimitReached)
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
    {
        FaultyFiles files;
        files.crash(Op::rename, path);
        EXPECT_THROW(store->put(bytes("second"), "k"), foundation::FaultInjectingFileLayer::Crash);
    }
    EXPECT_EQ(foundation::AtomicFile::leftovers(path).size(), 1u);
    EXPECT_EQ(SecureKeyValueStore::open(path, std::nullopt)->get("k"), bytes("first"));

    store->put(bytes("third"), "k");
    EXPECT_EQ(SecureKeyValueStore::open(path, std::nullopt)->get("k"), bytes("third"));
}

TEST_F(SecureStore, AStoreWithoutPasscodeUsesItsKeyFileAndChangingThePasscodeSealsItAnew) {
    auto store = SecureKeyValueStore::create(path, std::nullopt, false, 5, kMin);
    store->put(bytes("v"), "k");
    EXPECT_TRUE(fs::exists(SecureKeyValueStore::keyFilePath(path)));
    EXPECT_EQ(fs::status(SecureKeyValueStore::keyFilePath(path)).permissions() & fs::perms::others_read,
              fs::perms::none);
    store->changePasscode("12345678", true);
    EXPECT_FALSE(fs::exists(SecureKeyValueStore::keyFilePath(path)));
    EXPECT_EQ(SecureKeyValueStore::readHeader(path)->mode, SecureKeyValueStore::Mode::passcodeWithBiometric);
    EXPECT_EQ(SecureKeyValueStore::open(path, std::string("12345678"))->get("k"), bytes("v"));
    SecureKeyValueStore::destroy(path);
    EXPECT_FALSE(SecureKeyValueStore::readHeader(path));
}

TEST_F(SecureStore, AStoreThatCannotBeReadIsATypedErrorNamingTheFileAndNothingIsWritten) {
    SecureKeyValueStore::create(path, std::string("11112222"), false, 3, kMin)->put(bytes("v"), "k");
    const std::string before = onDisk();
    for (auto [op, error] : {std::pair{Op::open, EACCES}, {Op::read, EIO}, {Op::open, EMFILE}}) {
        FaultyFiles files;
        files.fail(op, path, error);
        for (const auto& attempt :
             std::vector<std::function<void()>>{[&] { SecureKeyValueStore::open(path, std::string("11112222")); },
                                                [&] { SecureKeyValueStore::open(path, std::string("00000000")); },
                                                [&] { SecureKeyValueStore::readHeader(path); }}) {
            StoreManagerError e = errorOf(attempt);
            EXPECT_EQ(e.errorCase(), Case::storeUnavailable);
            EXPECT_EQ(e.systemError().value(), error);
            EXPECT_NE(e.description().find(path.string()), std::string::npos) << e.description();
        }
        EXPECT_EQ(files.injected(), 3u) << "one failed call each: nothing is tried again";
    }
    EXPECT_EQ(onDisk(), before);
    EXPECT_EQ(tryPasscode("11112222"), "opened");

    fs::remove(path);
    fs::create_directory(path);
    EXPECT_EQ(errorOf([&] { SecureKeyValueStore::open(path, std::string("11112222")); }).systemError(),
              std::errc::is_a_directory);
}

TEST_F(SecureStore, WrongPasscodesOnAFullDiskCountAcrossRelaunchesAndLockTheStoreAtItsLimit) {
    SecureKeyValueStore::create(path, std::string("11112222"), false, 3, kMin)->put(bytes("v"), "k");
    const std::size_t size = onDisk().size();
    FaultyFiles files;
    files.fail(Op::write, path.parent_path(), ENOSPC);
    for (const char* expected : {"wrongPasscode 2", "wrongPasscode 1", "passcodeRetryLimitReached"}) {
        EXPECT_EQ(tryPasscode("00000000"), expected);
        core::ProcessStateReset::resetAll();  // the application killed and launched again
    }
    EXPECT_EQ(files.injected(), 0u) << "the count needs no new space";
    EXPECT_EQ(SecureKeyValueStore::readHeader(path)->failedAttempts, 3u);
    EXPECT_TRUE(SecureKeyValueStore::readHeader(path)->isLocked());
    EXPECT_EQ(tryPasscode("11112222"), "passcodeRetryLimitReached") << "locked on disk: the right passcode is refused";
    EXPECT_EQ(onDisk().size(), size);
    EXPECT_TRUE(foundation::AtomicFile::leftovers(path).empty());
}

// Every way a count can fail to reach the disk: the passcode, right or
// wrong, is then not judged, and the count stays what it was.
TEST_F(SecureStore, AnAttemptThatCannotBeCountedIsRefusedWithTheStorageErrorAndNotJudged) {
    for (auto [op, error] : {std::pair{Op::write, EIO}, {Op::write, EROFS}, {Op::sync, EIO}, {Op::close, EIO}}) {
        SecureKeyValueStore::create(path, std::string("11112222"), false, 3, kMin)->put(bytes("v"), "k");
        EXPECT_EQ(tryPasscode("00000000"), "wrongPasscode 2");
        {
            FaultyFiles files;
            files.fail(op, path, error);
            for (const char* passcode : {"11112222", "00000000", "00000001", "00000002"}) {
                StoreManagerError e = errorOf([&] { SecureKeyValueStore::open(path, std::string(passcode)); });
                EXPECT_EQ(e.errorCase(), Case::storeUnavailable) << passcode << ", errno " << error;
                EXPECT_EQ(e.systemError().value(), error);
                EXPECT_NE(e.description().find(path.string()), std::string::npos) << e.description();
            }
        }
        EXPECT_EQ(SecureKeyValueStore::readHeader(path)->failedAttempts, 1u) << "errno " << error;
    }

    {
        FaultyFiles files;
        files.fail(Op::write, path, EIO);
        for (int launch = 0; launch < 4; ++launch) {
            EXPECT_EQ(tryPasscode("00000000"), "storeUnavailable");
            EXPECT_EQ(tryPasscode("11112222"), "storeUnavailable");
            core::ProcessStateReset::resetAll();
        }
    }
    EXPECT_EQ(tryPasscode("00000000"), "wrongPasscode 1") << "nothing judged, nothing counted";
    EXPECT_EQ(tryPasscode("00000000"), "passcodeRetryLimitReached");
}

// Whichever file call fails, a passcode that was judged was counted first:
// a wrong one is on disk, and nothing else was judged.
TEST_F(SecureStore, AJudgedPasscodeWasAlwaysCountedWhicheverFileCallFails) {
    for (const char* passcode : {"00000000", "11112222"}) {
        const bool right = std::string(passcode) == "11112222";
        std::uint64_t n = 1;
        for (;; ++n) {
            SecureKeyValueStore::create(path, std::string("11112222"), false, 3, kMin)->put(bytes("v"), "k");
            ASSERT_EQ(tryPasscode("00000009"), "wrongPasscode 2");
            FaultyFiles files;
            files.fail(std::nullopt, {}, EIO, n);
            const std::string outcome = tryPasscode(passcode);
            const bool hit = files.injected() > 0;
            files.heal();
            const std::uint32_t counted = SecureKeyValueStore::readHeader(path)->failedAttempts;
            if (outcome == "storeUnavailable") {
                EXPECT_EQ(counted, 1u) << "failing call " << n;
            } else if (right) {
                EXPECT_EQ(outcome, "opened") << "failing call " << n;
                EXPECT_LE(counted, 2u) << "set back, or left counted when that failed; call " << n;
            } else {
                EXPECT_EQ(outcome, "wrongPasscode 1") << "failing call " << n;
                EXPECT_EQ(counted, 2u) << "failing call " << n;
            }
            if (!hit) break;
        }
        EXPECT_GE(n, 4u);
    }
}

TEST_F(SecureStore, TheRightPasscodeOpensEvenWhenTheCountCannotBeSetBack) {
    SecureKeyValueStore::create(path, std::string("11112222"), false, 3, kMin)->put(bytes("v"), "k");
    EXPECT_EQ(tryPasscode("00000000"), "wrongPasscode 2");
    {
        FaultyFiles files;
        files.fail(Op::write, path, EIO, 2);  // the count goes in, setting it back does not
        EXPECT_EQ(SecureKeyValueStore::open(path, std::string("11112222"))->get("k"), bytes("v"));
    }
    EXPECT_EQ(SecureKeyValueStore::readHeader(path)->failedAttempts, 2u);
    EXPECT_EQ(tryPasscode("11112222"), "opened");
    EXPECT_EQ(SecureKeyValueStore::readHeader(path)->failedAttempts, 0u);
}

TEST_F(SecureStore, WithoutARetryLimitPasscodesAreJudgedWhenNothingCanBeCounted) {
    SecureKeyValueStore::create(path, std::string("11112222"), false, 0, kMin);
    FaultyFiles files;
    files.fail(Op::write, path, EIO);
    EXPECT_EQ(tryPasscode("00000000"), "wrongPasscode -1");
    EXPECT_EQ(tryPasscode("11112222"), "opened");
}

TEST_F(SecureStore, OpeningRemovesTheTemporaryFilesOfWritesAKillInterrupted) {
    auto store = SecureKeyValueStore::create(path, std::nullopt, false, 0, kMin);
    store->put(bytes("first"), "k");
    for (const char* value : {"second", "third"})
        ASSERT_TRUE(killedDuringWrite([&] { store->put(bytes(value), "k"); }));
    EXPECT_EQ(foundation::AtomicFile::leftovers(path).size(), 2u);
    core::ProcessStateReset::resetAll();
    EXPECT_EQ(SecureKeyValueStore::open(path, std::nullopt)->get("k"), bytes("first"));
    EXPECT_TRUE(foundation::AtomicFile::leftovers(path).empty());

    const fs::path other = path.parent_path() / "two.store";
    ASSERT_TRUE(
        killedDuringWrite([&] { SecureKeyValueStore::create(other, std::string("11112222"), false, 3, kMin); }));
    EXPECT_EQ(foundation::AtomicFile::leftovers(SecureKeyValueStore::keyFilePath(other)).size() +
                  foundation::AtomicFile::leftovers(other).size(),
              1u);
    SecureKeyValueStore::create(other, std::string("11112222"), false, 3, kMin);
    EXPECT_TRUE(foundation::AtomicFile::leftovers(other).empty());
    EXPECT_EQ(SecureKeyValueStore::open(path, std::nullopt)->get("k"), bytes("first"));
}

TEST_F(SecureStore, AChangeThatFailsAtAnyFileCallLeavesTheOldEntriesOrTheNew) {
    auto store = SecureKeyValueStore::create(path, std::nullopt, false, 0, kMin);
    store->put(bytes("old"), "k");
    std::uint64_t n = 1;
    for (;; ++n) {
        store->put(bytes("old"), "k");
        FaultyFiles files;
        files.fail(std::nullopt, {}, EIO, n);
        bool changed = true;
        try {
            store->put(bytes("new"), "k");
        } catch (const StoreManagerError& e) {
            EXPECT_EQ(e.errorCase(), Case::storeUnavailable);
            changed = false;
        }
        const bool hit = files.injected() > 0;
        files.heal();
        EXPECT_EQ(store->get("k"), bytes(changed ? "new" : "old")) << "failing call " << n;
        EXPECT_EQ(SecureKeyValueStore::open(path, std::nullopt)->get("k"), bytes(changed ? "new" : "old"))
            << "failing call " << n;
        if (!hit) break;
    }
    EXPECT_GE(n, 6u);
}

TEST_F(SecureStore, ADamagedOrEditedHeaderIsCorruptionNeverAWrongPasscode) {
    SecureKeyValueStore::create(path, std::string("11112222"), false, 10, kMin)->put(bytes("v"), "k");
    const std::string good = onDisk();
    constexpr std::size_t kHeaderBytes = 116;  // up to and with the header's checksum
    for (std::size_t i = 0; i < kHeaderBytes; ++i) {
        std::string damaged = good;
        damaged[i] = static_cast<char>(damaged[i] ^ 0x01);
        foundation::AtomicFile::write(path, damaged);
        EXPECT_EQ(tryPasscode("11112222"), "storeCorrupted") << "byte " << i;
        EXPECT_EQ(onDisk(), damaged) << "nothing counted, byte " << i;
    }
    foundation::AtomicFile::write(path, good);
    EXPECT_EQ(tryPasscode("00000000"), "wrongPasscode 9");
    std::string reset = onDisk();
    reset[80] = 0;  // the count, back to none
    foundation::AtomicFile::write(path, reset);
    EXPECT_EQ(tryPasscode("11112222"), "storeCorrupted");

    foundation::AtomicFile::write(path, good);
    fs::remove(path.parent_path() / "StoreHeaders.key");
    EXPECT_EQ(tryPasscode("11112222"), "storeCorrupted") << "nothing left to check the header with";
}

TEST_F(SecureStore, StoresOfTheFirstFormatOpenCountAndAreWrittenAnew) {
    const fs::path fixtures = fs::path(TRC_SOURCE_DIR) / "tests" / "platform" / "flows" / "legacy-stores";
    fs::create_directories(path.parent_path());
    fs::copy_file(fixtures / "passcode.store", path);
    EXPECT_EQ(SecureKeyValueStore::readHeader(path)->retryLimit, 3u);
    EXPECT_EQ(tryPasscode("00000000"), "wrongPasscode 2");
    EXPECT_EQ(onDisk().substr(0, 8), "TRCSKV01") << "a wrong passcode is counted in the file as it is";
    auto store = SecureKeyValueStore::open(path, std::string("25803614"));
    EXPECT_EQ(store->get("token"), bytes("token-1"));
    EXPECT_EQ(store->get("user"), bytes("u"));
    EXPECT_EQ(onDisk().substr(0, 8), "TRCSKV02");
    EXPECT_EQ(SecureKeyValueStore::readHeader(path)->failedAttempts, 0u);
    EXPECT_EQ(tryPasscode("25803614"), "opened");

    const fs::path plain = path.parent_path() / "plain.store";
    fs::copy_file(fixtures / "nopasscode.store", plain);
    fs::copy_file(fixtures / "nopasscode.store.key", SecureKeyValueStore::keyFilePath(plain));
    EXPECT_EQ(SecureKeyValueStore::open(plain, std::nullopt)->get("k"), bytes("v"));
    EXPECT_EQ(foundation::AtomicFile::read(plain).substr(0, 8), "TRCSKV02");
    EXPECT_EQ(SecureKeyValueStore::open(plain, std::nullopt)->get("k"), bytes("v"));
}

}  // namespace
}  // namespace trc::flows::test
