#include "platform/foundation/FileLayer.h"

#include <gtest/gtest.h>

#include "FaultyFiles.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Sandbox.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::foundation {
namespace {

namespace fs = std::filesystem;
using testing::FaultyFiles;
using Op = FileOperation;

// The errno of a write of "new" to path, 0 when it worked.
int writeError(const fs::path& path) {
    std::error_code ec;
    AtomicFile::write(path, "new", AtomicFile::kOwnerOnly, ec);
    return ec.value();
}

int readError(const fs::path& path) {
    std::error_code ec;
    AtomicFile::read(path, ec);
    return ec.value();
}

class FileLayerTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    FaultyFiles files;
    fs::path a = folder.path() / "a";
    fs::path b = folder.path() / "b";
};

TEST_F(FileLayerTest, AFaultHitsItsPathItsTemporaryFilesAndWhatIsInsideAFolder) {
    files.fail(Op::write, a, ENOSPC);
    files.fail(Op::open, folder.path() / "locked", EACCES);
    files.fail(Op::rename, b, EIO, 2);

    EXPECT_EQ(writeError(a), ENOSPC) << "the bytes go to a temporary file beside a";
    EXPECT_EQ(writeError(folder.path() / "a2"), 0) << "a file whose name only starts alike";
    EXPECT_EQ(readError(folder.path() / "locked" / "inside"), EACCES);
    EXPECT_EQ(writeError(folder.path() / "locked" / "deeper" / "inside"), EACCES);
    EXPECT_EQ(readError(folder.path() / "lockedness"), 0);
    EXPECT_EQ(writeError(b), 0);
    EXPECT_EQ(writeError(b), EIO) << "the second rename onto b";
    EXPECT_EQ(writeError(b), 0);
    EXPECT_EQ(files.injected(), 4u);

    files.heal();
    EXPECT_EQ(writeError(a), 0);
    EXPECT_EQ(AtomicFile::read(a), "new");
}

TEST_F(FileLayerTest, AFullDiskTakesARewriteInPlaceButNoWriteThatNeedsSpace) {
    AtomicFile::write(a, "0123456789");
    files.fail(Op::write, {}, ENOSPC);
    std::error_code ec;
    EXPECT_TRUE(AtomicFile::overwrite(a, 2, "ab", ec)) << ec.message();
    EXPECT_EQ(AtomicFile::read(a), "01ab456789");
    EXPECT_FALSE(AtomicFile::overwrite(a, 9, "xy", ec)) << "one byte past the end needs space";
    EXPECT_EQ(ec.value(), ENOSPC);
    EXPECT_EQ(writeError(a), ENOSPC) << "a whole new copy needs space";
    EXPECT_FALSE(AtomicFile::overwrite(b, 0, "x", ec)) << "no file to rewrite";
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(fs::exists(b));

    files.heal();
    files.fail(Op::write, a, EIO);
    EXPECT_FALSE(AtomicFile::overwrite(a, 0, "zz", ec));
    EXPECT_EQ(ec.value(), EIO) << "storage that cannot be written takes nothing";
    EXPECT_EQ(AtomicFile::read(a), "01ab456789");
}

TEST_F(FileLayerTest, ReadsTellAMissingFileFromOneThatCannotBeRead) {
    EXPECT_EQ(readError(a), 0);
    std::error_code ec;
    EXPECT_EQ(AtomicFile::read(a, ec), std::nullopt);

    fs::create_directory(a);
    EXPECT_EQ(readError(a), EISDIR) << "a folder where the file should be";
    AtomicFile::write(b, "old");
    for (auto [op, error] : {std::pair{Op::open, EMFILE}, {Op::open, EACCES}, {Op::read, EIO}}) {
        FaultyFiles inner;
        inner.fail(op, b, error);
        EXPECT_EQ(readError(b), error);
    }
}

TEST_F(FileLayerTest, AWriteThatFailsAtAnyCallLeavesTheOldContentOrTheNewAndNoTemporaryFile) {
    AtomicFile::write(a, "old");
    std::uint64_t n = 1;
    for (;; ++n) {
        AtomicFile::write(a, "old");
        FaultyFiles faulty;
        faulty.fail(std::nullopt, {}, EIO, n);
        std::error_code ec;
        const bool written = AtomicFile::write(a, "new", AtomicFile::kOwnerOnly, ec);
        const bool hit = faulty.injected() > 0;
        faulty.heal();
        EXPECT_EQ(AtomicFile::read(a), written ? "new" : "old") << "failing call " << n;
        EXPECT_EQ(written, !ec) << "failing call " << n;
        EXPECT_TRUE(AtomicFile::leftovers(a).empty()) << "failing call " << n;
        if (!hit) break;
    }
    EXPECT_GE(n, 6u) << "folder, create, write, sync, close, rename at least";
}

TEST_F(FileLayerTest, TheSandboxFoldersAndTheFilesWrittenForTheOwnerAreTheOwnersAlone) {
    files.heal();
    const fs::path old = Sandbox::root();
    const fs::path root = Sandbox::makeFreshRoot();
    for (const fs::path& p : {root, Sandbox::preferences(), Sandbox::preferences().parent_path(), Sandbox::documents(),
                              Sandbox::caches(), Sandbox::tmp()})
        EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, fs::perms::owner_all) << p;
    AtomicFile::write(folder.path() / "new" / "file", "x");
    EXPECT_EQ(fs::status(folder.path() / "new").permissions() & fs::perms::all, fs::perms::owner_all);
    fs::remove_all(root);
    Sandbox::setRoot(old);
}

}  // namespace
}  // namespace trc::foundation
