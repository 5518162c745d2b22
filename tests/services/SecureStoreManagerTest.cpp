#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "FreshSandboxTest.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FaultyFiles.h"
#include "platform/foundation/KilledWrite.h"
#include "services/SecureStoreManager.h"

using namespace trc;
using services::QVSecureStoreError;
using services::SecureStoreManager;
namespace fs = std::filesystem;

namespace {

std::string fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void setFileBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

QVSecureStoreError::Code errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const QVSecureStoreError& e) {
        return e.code();
    }
    ADD_FAILURE() << "no QVSecureStoreError";
    return QVSecureStoreError::Code::notFound;
}

}  // namespace

class SecureStoreValues : public trc::testing::FreshSandboxTest {
protected:
    fs::path storeFile() const { return SecureStoreManager::defaultFolder() / SecureStoreManager::kStoreFileName; }
    fs::path keyFile() const { return SecureStoreManager::defaultFolder() / SecureStoreManager::kKeyFileName; }
};

TEST_F(SecureStoreValues, NothingStoredIsNotFoundOrNothing) {
    auto store = SecureStoreManager::sharedInstance();
    EXPECT_EQ(store->getStringValue("ApplicationID"), std::nullopt);
    EXPECT_EQ(errorOf([&] { store->getString("ApplicationID"); }), QVSecureStoreError::Code::notFound);
    try {
        store->getString("ApplicationID");
    } catch (const QVSecureStoreError& e) {
        EXPECT_EQ(e.rawValue(), 0);
    }
}

TEST_F(SecureStoreValues, StoredValuesSurviveARelaunchAndAreNotInTheClear) {
    auto store = SecureStoreManager::sharedInstance();
    store->putString("app-1234", "ApplicationID");
    store->putString("", "Empty");
    store->putString("second", "ApplicationID");
    const std::string awkward = "\"quoted\" \\ line\nfeed \x01 \xc3\xa9";
    store->putString(awkward, "key \"with\" quotes");
    EXPECT_EQ(store->getString("ApplicationID"), "second");

    relaunch();
    auto reopened = SecureStoreManager::sharedInstance();
    EXPECT_NE(reopened, store);
    EXPECT_EQ(reopened->getString("ApplicationID"), "second");
    EXPECT_EQ(reopened->getStringValue("Empty"), "");
    EXPECT_EQ(reopened->getStringValue("key \"with\" quotes"), awkward);
    const std::string bytes = fileBytes(storeFile());
    EXPECT_EQ(bytes.find("second"), std::string::npos);
    EXPECT_EQ(bytes.find("ApplicationID"), std::string::npos);
}

TEST_F(SecureStoreValues, EveryWriteUsesAFreshNonce) {
    auto store = SecureStoreManager::sharedInstance();
    store->putString("same", "k");
    const std::string first = fileBytes(storeFile());
    store->putString("same", "k");
    EXPECT_NE(fileBytes(storeFile()), first);
}

TEST_F(SecureStoreValues, KeyFileIsReadableByItsOwnerOnly) {
    SecureStoreManager::sharedInstance()->putString("v", "k");
    struct stat st {};
    ASSERT_EQ(::stat(keyFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(fs::file_size(keyFile()), 32u);
    ASSERT_EQ(::stat(storeFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(SecureStoreValues, StoresAreKeptApartByFolder) {
    SecureStoreManager a(root / "a"), b(root / "b");
    a.putString("in a", "k");
    EXPECT_EQ(b.getStringValue("k"), std::nullopt);
}

// Damage is reported, never crashes, and never destroys what is there.
class SecureStoreDamage : public SecureStoreValues {
protected:
    void SetUp() override {
        SecureStoreValues::SetUp();
        SecureStoreManager::sharedInstance()->putString("precious", "ApplicationID");
        relaunch();
    }
    void expectRefusedAndUntouched(const std::string& storeBytes) {
        auto store = SecureStoreManager::sharedInstance();
        EXPECT_EQ(errorOf([&] { store->getStringValue("ApplicationID"); }), QVSecureStoreError::Code::storeFailed);
        EXPECT_EQ(errorOf([&] { store->getString("ApplicationID"); }), QVSecureStoreError::Code::storeFailed);
        EXPECT_EQ(errorOf([&] { store->putString("new", "ApplicationID"); }), QVSecureStoreError::Code::storeFailed);
        EXPECT_EQ(fileBytes(storeFile()), storeBytes);
    }
};

TEST_F(SecureStoreDamage, TruncatedStoreFile) {
    std::string bytes = fileBytes(storeFile());
    for (std::size_t keep : {bytes.size() - 1, std::size_t{40}, std::size_t{8}, std::size_t{0}}) {
        SCOPED_TRACE(keep);
        setFileBytes(storeFile(), bytes.substr(0, keep));
        expectRefusedAndUntouched(bytes.substr(0, keep));
        relaunch();
    }
}

TEST_F(SecureStoreDamage, TamperedStoreFile) {
    std::string bytes = fileBytes(storeFile());
    bytes[bytes.size() - 3] ^= 0x01;
    setFileBytes(storeFile(), bytes);
    expectRefusedAndUntouched(bytes);
}

TEST_F(SecureStoreDamage, MissingOrWrongKeyFile) {
    const std::string bytes = fileBytes(storeFile());
    fs::remove(keyFile());
    expectRefusedAndUntouched(bytes);
    EXPECT_FALSE(fs::exists(keyFile()));  // no new key made over an existing store
    relaunch();
    setFileBytes(keyFile(), std::string(32, 'k'));
    expectRefusedAndUntouched(bytes);
    relaunch();
    setFileBytes(keyFile(), "short");
    expectRefusedAndUntouched(bytes);
}

TEST_F(SecureStoreDamage, MessageSaysWhatIsWrong) {
    setFileBytes(storeFile(), "garbage");
    try {
        SecureStoreManager::sharedInstance()->getStringValue("ApplicationID");
        FAIL() << "no error";
    } catch (const QVSecureStoreError& e) {
        EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
    }
}

TEST_F(SecureStoreDamage, AFailedWriteKeepsTheValueAndLeavesNoTemporaryFile) {
    auto store = SecureStoreManager::sharedInstance();
    ASSERT_EQ(store->getString("ApplicationID"), "precious");
    // A folder where the file should go: the final rename cannot replace it.
    fs::remove(storeFile());
    fs::create_directory(storeFile());
    EXPECT_EQ(errorOf([&] { store->putString("new", "ApplicationID"); }), QVSecureStoreError::Code::storeFailed);
    EXPECT_EQ(store->getString("ApplicationID"), "precious");
    int files = 0;
    for (const auto& e : fs::directory_iterator(SecureStoreManager::defaultFolder())) files += e.is_regular_file();
    EXPECT_EQ(files, 1);  // the key only
}

TEST_F(SecureStoreDamage, OpeningRemovesTheTemporaryFilesOfAWriteAKillInterrupted) {
    auto store = SecureStoreManager::sharedInstance();
    ASSERT_TRUE(trc::testing::killedDuringWrite([&] { store->putString("new", "ApplicationID"); }));
    EXPECT_EQ(foundation::AtomicFile::leftovers(storeFile()).size(), 1u);
    relaunch();
    EXPECT_EQ(SecureStoreManager::sharedInstance()->getString("ApplicationID"), "precious");
    EXPECT_TRUE(foundation::AtomicFile::leftovers(storeFile()).empty());
}

TEST_F(SecureStoreDamage, AStoreThatCannotBeReadNowIsRefusedThenReadOnceItCanBe) {
    const std::string bytes = fileBytes(storeFile());
    {
        trc::testing::FaultyFiles files;
        files.fail(foundation::FileOperation::open, SecureStoreManager::defaultFolder(), EMFILE);
        expectRefusedAndUntouched(bytes);
    }
    EXPECT_EQ(SecureStoreManager::sharedInstance()->getString("ApplicationID"), "precious")
        << "a passing fault is not damage: nothing is kept refused";
}

TEST_F(SecureStoreDamage, AWriteFailingAtAnyFileCallKeepsTheOldValueOrTheNew) {
    auto store = SecureStoreManager::sharedInstance();
    std::uint64_t n = 1;
    for (;; ++n) {
        store->putString("old", "ApplicationID");
        trc::testing::FaultyFiles files;
        files.fail(std::nullopt, {}, EIO, n);
        bool changed = true;
        try {
            store->putString("new", "ApplicationID");
        } catch (const QVSecureStoreError&) {
            changed = false;
        }
        const bool hit = files.injected() > 0;
        files.heal();
        EXPECT_EQ(store->getString("ApplicationID"), changed ? "new" : "old") << "failing call " << n;
        relaunch();
        store = SecureStoreManager::sharedInstance();
        EXPECT_EQ(store->getString("ApplicationID"), changed ? "new" : "old") << "failing call " << n;
        if (!hit) break;
    }
    EXPECT_GE(n, 6u);
}
