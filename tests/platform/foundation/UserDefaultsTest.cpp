#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include "FaultyFiles.h"
#include "KilledWrite.h"
#include "platform/core/Block.h"
#include "platform/core/TaggedJson.h"
#include "platform/core/internal/Logging.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Sandbox.h"
#include "testsupport/ProcessStateReset.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::foundation {
namespace {

namespace fs = std::filesystem;
using core::Value;

class UserDefaultsTest : public ::testing::Test {
protected:
    TemporaryFolder sandbox = TemporaryFolder::makeSandbox();
    UserDefaults& defaults = UserDefaults::shared();

    void SetUp() override { core::ProcessStateReset::resetAll(); }
    void TearDown() override { core::ProcessStateReset::resetAll(); }

    std::vector<std::string> preferenceFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Sandbox::preferences())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(UserDefaultsTest, EveryKindSurvivesARelaunch) {
    Value nested = core::Dictionary{{"when", core::Date{1.5}},
                                    {"bytes", core::Data{0, 255}},
                                    {"null", Value::null()},
                                    {"nil", Value()},
                                    {"list", core::Array{1, 1.0, true, "1"}}};
    ASSERT_TRUE(defaults.setObject("nested", nested));
    ASSERT_TRUE(defaults.setObject("isInitialLaunch", true));
    core::ProcessStateReset::resetAll();
    EXPECT_EQ(defaults.objectForKey("nested"), nested);
    EXPECT_EQ(defaults.objectForKey("isInitialLaunch"), Value(true));
    EXPECT_EQ(core::TaggedJson::read(AtomicFile::read(defaults.filePath())).find("nested")->find("when")->kind(),
              Value::Kind::Date);
}

TEST_F(UserDefaultsTest, TypedReadsTakeOnlyTheirKind) {
    defaults.setObject("flag", 1);
    defaults.setObject("text", "6F9619FF");
    defaults.setObject("ratio", 2.9);
    defaults.setObject("dict", core::Dictionary{{"a", 1}});
    EXPECT_FALSE(defaults.boolForKey("flag"));
    EXPECT_EQ(defaults.integerForKey("flag"), 1);
    EXPECT_EQ(defaults.integerForKey("ratio"), 2);
    EXPECT_EQ(defaults.integerForKey("text"), 0);
    EXPECT_EQ(defaults.stringForKey("text"), "6F9619FF");
    EXPECT_EQ(defaults.stringForKey("flag"), std::nullopt);
    EXPECT_EQ(defaults.dictionaryForKey("dict")->get("a"), Value(1));
    EXPECT_EQ(defaults.dictionaryForKey("text"), std::nullopt);
    EXPECT_EQ(defaults.objectForKey("missing"), Value());
}

TEST_F(UserDefaultsTest, RemovingAndSettingNilForgetTheKeyOnDisk) {
    defaults.setObject("a", 1);
    defaults.setObject("b", 2);
    defaults.remove("a");
    defaults.setObject("b", Value());
    core::ProcessStateReset::resetAll();
    EXPECT_TRUE(defaults.dictionaryRepresentation().empty());
}

TEST_F(UserDefaultsTest, ObjectsAndDatesWithoutATextAreRefusedAndNothingChanges) {
    defaults.setObject("keep", "old");
    EXPECT_FALSE(defaults.setObject("keep", core::Array{Value(core::Block::make(nullptr))}));
    EXPECT_FALSE(defaults.setObject("keep", core::Dictionary{{"when", core::Date{-62167219201.0}}}));
    EXPECT_FALSE(defaults.setObject("other", core::Date{1e300}));
    EXPECT_EQ(defaults.objectForKey("keep"), Value("old"));
    core::ProcessStateReset::resetAll();
    EXPECT_EQ(defaults.dictionaryRepresentation(), (core::Dictionary{{"keep", "old"}})) << "the file still reads";
}

TEST_F(UserDefaultsTest, WritesLeaveOnlyTheFileBehind) {
    for (int i = 0; i < 5; ++i) defaults.setObject("n", i);
    EXPECT_EQ(preferenceFiles(), std::vector<std::string>{UserDefaults::kFileName});
}

TEST_F(UserDefaultsTest, TheNextLaunchRemovesTheTemporaryFilesOfWritesAKillInterrupted) {
    ASSERT_TRUE(defaults.setObject("onboarded", "id-1"));
    for (const char* value : {"id-2", "id-3"})
        ASSERT_TRUE(testing::killedDuringWrite([&] { defaults.setObject("onboarded", value); }));
    EXPECT_EQ(preferenceFiles().size(), 3u) << "the file and two whole copies beside it";
    core::internal::Logging::clearCaptured();
    core::ProcessStateReset::resetAll();
    EXPECT_EQ(defaults.objectForKey("onboarded"), Value("id-1"));
    EXPECT_EQ(preferenceFiles(), std::vector<std::string>{UserDefaults::kFileName});
    const auto records = core::internal::Logging::captured();
    EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](const core::internal::LogRecord& r) {
        return r.severity == core::Severity::info && r.message.find("removed 2 temporary file(s)") != std::string::npos;
    }));
}

TEST_F(UserDefaultsTest, AFileThatIsReadButNotValidIsMovedAsideAndLogged) {
    AtomicFile::write(defaults.filePath(), "{\"broken\": ");
    core::internal::Logging::clearCaptured();
    core::ProcessStateReset::resetAll();
    EXPECT_EQ(defaults.objectForKey("broken"), Value());
    defaults.setObject("fresh", true);
    EXPECT_EQ(preferenceFiles(), (std::vector<std::string>{"UserDefaults.json", "UserDefaults.json.corrupt"}));
    EXPECT_EQ(AtomicFile::read(defaults.filePath().string() + ".corrupt"), "{\"broken\": ");
    auto logs = core::internal::Logging::captured();
    ASSERT_FALSE(logs.empty());
    EXPECT_EQ(logs.back().severity, core::Severity::error);
}

TEST_F(UserDefaultsTest, AFileThatCannotBeReadNowIsKeptEveryChangeIsRefusedAndTheNextUseTriesAgain) {
    defaults.setObject("onboarded", "6F9619FF");
    const std::string stored = AtomicFile::read(defaults.filePath());
    for (auto [op, error] :
         {std::pair{FileOperation::open, EMFILE}, {FileOperation::open, EACCES}, {FileOperation::read, EIO}}) {
        core::ProcessStateReset::resetAll();
        core::internal::Logging::clearCaptured();
        {
            testing::FaultyFiles files;
            files.fail(op, defaults.filePath(), error);
            EXPECT_EQ(defaults.objectForKey("onboarded"), Value());
            EXPECT_EQ(defaults.readError().value(), error);
            EXPECT_FALSE(defaults.setObject("other", true));
            EXPECT_FALSE(defaults.remove("onboarded"));
            EXPECT_FALSE(defaults.setObject("onboarded", Value()));
            EXPECT_EQ(defaults.objectForKey("onboarded"), Value());
        }
        EXPECT_EQ(AtomicFile::read(defaults.filePath()), stored);
        EXPECT_EQ(preferenceFiles(), std::vector<std::string>{UserDefaults::kFileName}) << "nothing moved aside";
        auto logs = core::internal::Logging::captured();
        ASSERT_EQ(logs.size(), 4u) << "the read once, then each refused change";
        EXPECT_NE(logs[0].message.find("keeping it"), std::string::npos) << logs[0].message;
        EXPECT_EQ(defaults.objectForKey("onboarded"), Value("6F9619FF")) << "read again once it can be";
        EXPECT_EQ(defaults.readError(), std::error_code());
    }
    fs::remove(defaults.filePath());
    fs::create_directory(defaults.filePath());
    core::ProcessStateReset::resetAll();
    EXPECT_EQ(defaults.readError(), std::errc::is_a_directory);
    EXPECT_FALSE(defaults.setObject("other", true));
    EXPECT_TRUE(fs::is_directory(defaults.filePath()));
}

TEST_F(UserDefaultsTest, AChangeThatCannotBeWrittenIsRefusedAndUndone) {
    defaults.setObject("a", 1);
    testing::FaultyFiles files;
    files.fail(FileOperation::write, Sandbox::preferences(), ENOSPC);
    EXPECT_FALSE(defaults.setObject("a", 2));
    EXPECT_FALSE(defaults.setObject("b", 2));
    EXPECT_FALSE(defaults.remove("a"));
    EXPECT_EQ(defaults.dictionaryRepresentation(), (core::Dictionary{{"a", 1}}));
    files.heal();
    core::ProcessStateReset::resetAll();
    EXPECT_EQ(defaults.dictionaryRepresentation(), (core::Dictionary{{"a", 1}}));
}

TEST_F(UserDefaultsTest, AChangeFailingAtAnyFileCallLeavesTheOldValueOrTheNewAndSaysWhich) {
    std::uint64_t n = 1;
    for (;; ++n) {
        defaults.setObject("a", 1);
        testing::FaultyFiles files;
        files.fail(std::nullopt, {}, EIO, n);
        const bool changed = defaults.setObject("a", 2);
        const bool hit = files.injected() > 0;
        files.heal();
        EXPECT_EQ(defaults.objectForKey("a"), Value(changed ? 2 : 1)) << "failing call " << n;
        core::ProcessStateReset::resetAll();
        EXPECT_EQ(defaults.objectForKey("a"), Value(changed ? 2 : 1)) << "failing call " << n;
        if (!hit) break;
    }
    EXPECT_GE(n, 6u);
}

TEST_F(UserDefaultsTest, TheFileIsTheOwnersAlone) {
    defaults.setObject("a", 1);
    EXPECT_EQ(fs::status(defaults.filePath()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(UserDefaultsTest, ANewSandboxIsAFreshInstall) {
    defaults.setObject("onboarded", "id");
    TemporaryFolder other = TemporaryFolder::makeSandbox();
    EXPECT_EQ(defaults.objectForKey("onboarded"), Value());
    Sandbox::setRoot(sandbox.path());
    EXPECT_EQ(defaults.objectForKey("onboarded"), Value("id"));
}

TEST(AtomicFile, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
    TemporaryFolder folder;
    fs::path target = folder.path() / "target";
    fs::create_directory(target);  // a rename over a folder fails
    EXPECT_THROW(AtomicFile::write(target, "new"), fs::filesystem_error);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    AtomicFile::write(folder.path() / "sub" / "file", "content");
    EXPECT_EQ(AtomicFile::read(folder.path() / "sub" / "file"), "content");
    EXPECT_THROW(AtomicFile::read(folder.path() / "missing"), fs::filesystem_error);
}

TEST(TemporaryFolder, IsRemovedWithItsContentAndMovesOwnership) {
    fs::path path;
    {
        TemporaryFolder a("trc-test-");
        path = a.path();
        AtomicFile::write(path / "x" / "y", "z");
        TemporaryFolder b = std::move(a);
        EXPECT_TRUE(a.path().empty());
        EXPECT_EQ(b.path(), path);
        EXPECT_NE(TemporaryFolder().path(), path);
    }
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace trc::foundation
