// A saved file keeps everything it was besides its text: owner, group, mode,
// ACLs, extended attributes, hard and symbolic links. One table of file kinds
// and owners, each saved through the core and through the command-line tool.
// CI runs as root, so the cases chown, setfacl, setfattr, mkfifo and run the
// tool as other users with setpriv; a case whose tool is missing is skipped.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <functional>
#include <memory>

#include "cli_fixture.h"
#include "css/file_io.h"
#include "css/sheet_document.h"

namespace larkspur {
namespace {

using namespace larkspur::testing;

const std::string kOld = "P { color: blue }\n";
const std::string kNew = "H1 { color: red }";

int Sh(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

struct stat Stat(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st;
}

std::string Attr(const fs::path& p, const char* name) {
    char buf[256];
    ssize_t n = ::getxattr(p.c_str(), name, buf, sizeof buf);
    return n < 0 ? std::string() : std::string(buf, static_cast<size_t>(n));
}

struct KeepCase {
    const char* name;
    // Makes the files; returns the path to save, or "" to skip the case.
    std::function<std::string(const fs::path& dir)> setup;
    const char* error;  // nullptr: the save succeeds; else a part of the message
    std::function<void(const fs::path& dir, const std::string& path)> check;
    const char* runAs = nullptr;  // setpriv arguments for the tool, when not root
};

class FileKeepTest : public CliFixture, public ::testing::WithParamInterface<KeepCase> {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        if (IsSkipped()) return;
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to set owners";
        ::chmod(dir.c_str(), 0755);
        sheet = Write("sheet.css", "H1 { color: red }");
        ::chmod(sheet.c_str(), 0644);
    }
    std::string sheet;
};

TEST_P(FileKeepTest, SaveKeepsWhatTheFileWas) {
    const KeepCase& c = GetParam();
    for (const bool viaTool : {false, true}) {
        SCOPED_TRACE(viaTool ? "larkspur-cli export" : "SheetDocument::WriteStyleSheetFile");
        const fs::path work = dir / (viaTool ? "tool" : "core");
        fs::create_directories(work);
        ::chmod(work.c_str(), 0755);
        const std::string path = c.setup(work);
        if (path.empty()) GTEST_SKIP() << "a tool this case needs is missing";
        std::string error;
        if (viaTool) {
            const std::string prefix = c.runAs ? std::string("setpriv ") + c.runAs + " " : "";
            CliRun r = Shell(prefix + Quote(LARKSPUR_CLI_PATH) + " export " + Quote(sheet) + " " + Quote(path));
            EXPECT_EQ(r.status, c.error ? 1 : 0) << r.err;
            error = r.err;
        } else if (!c.runAs) {
            SheetDocument doc;
            doc.CreateStartRules();
            ASSERT_TRUE(doc.ReadStyleSheet(sheet));
            IoResult r = doc.WriteStyleSheetFile(path);
            EXPECT_EQ(r.ok, c.error == nullptr) << r.error;
            error = r.error;
        } else {
            continue;  // another user's save is only run through the tool
        }
        if (c.error) {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
        c.check(work, path);
        // No temporary or backup is left beside the file.
        for (const auto& e : fs::directory_iterator(work))
            EXPECT_NE(e.path().filename().string().rfind(".~l", 0), 0u) << e.path();
    }
}

std::string Plain(const fs::path& d, mode_t mode, uid_t uid, gid_t gid) {
    WriteBytes(d / "s.css", kOld);
    ::chown((d / "s.css").c_str(), uid, gid);
    ::chmod((d / "s.css").c_str(), mode);
    return (d / "s.css").string();
}

void IsNew(const fs::path&, const std::string& path) { EXPECT_EQ(ReadBytes(path), kNew); }
void IsOld(const fs::path&, const std::string& path) { EXPECT_EQ(ReadBytes(path), kOld); }

INSTANTIATE_TEST_SUITE_P(
    Kinds, FileKeepTest,
    ::testing::Values(
        KeepCase{"OwnerGroupAndModeOfAnotherUser",
                 [](const fs::path& d) { return Plain(d, 0604, 1234, 1235); }, nullptr,
                 [](const fs::path&, const std::string& p) {
                     IsNew({}, p);
                     struct stat st = Stat(p);
                     EXPECT_EQ(st.st_uid, 1234u);
                     EXPECT_EQ(st.st_gid, 1235u);
                     EXPECT_EQ(st.st_mode & 07777, 0604u);
                 }},
        KeepCase{"AclAndExtendedAttributes",
                 [](const fs::path& d) {
                     std::string p = Plain(d, 0640, 0, 0);
                     if (Sh("setfacl -m u:1234:rw " + p) != 0 || Sh("setfattr -n user.note -v keep " + p) != 0)
                         return std::string();
                     return p;
                 },
                 nullptr,
                 [](const fs::path&, const std::string& p) {
                     IsNew({}, p);
                     EXPECT_FALSE(Attr(p, "system.posix_acl_access").empty());
                     EXPECT_EQ(Sh("getfacl -p " + p + " | grep -q '^user:1234:rw-'"), 0);
                     EXPECT_EQ(Attr(p, "user.note"), "keep");
                 }},
        KeepCase{"HardLinkedFileStaysOneFile",
                 [](const fs::path& d) {
                     std::string p = Plain(d, 0644, 0, 0);
                     fs::create_hard_link(p, d / "twin.css");
                     return p;
                 },
                 nullptr,
                 [](const fs::path& d, const std::string& p) {
                     IsNew({}, p);
                     EXPECT_EQ(ReadBytes(d / "twin.css"), kNew);
                     EXPECT_EQ(Stat(p).st_ino, Stat(d / "twin.css").st_ino);
                 }},
        KeepCase{"SymlinkStaysALink",
                 [](const fs::path& d) {
                     Plain(d, 0644, 0, 0);
                     fs::create_symlink("s.css", d / "link.css");
                     return (d / "link.css").string();
                 },
                 nullptr,
                 [](const fs::path& d, const std::string& p) {
                     EXPECT_TRUE(fs::is_symlink(p));
                     EXPECT_EQ(ReadBytes(d / "s.css"), kNew);
                 }},
        KeepCase{"DanglingSymlinkGetsItsTargetMade",
                 [](const fs::path& d) {
                     fs::create_directories(d / "sub");
                     fs::create_symlink("sub/made.css", d / "link.css");
                     return (d / "link.css").string();
                 },
                 nullptr,
                 [](const fs::path& d, const std::string& p) {
                     EXPECT_TRUE(fs::is_symlink(p));
                     EXPECT_EQ(ReadBytes(d / "sub/made.css"), kNew);
                 }},
        KeepCase{"SymlinkLoopIsAnError",
                 [](const fs::path& d) {
                     fs::create_symlink("b.css", d / "a.css");
                     fs::create_symlink("a.css", d / "b.css");
                     return (d / "a.css").string();
                 },
                 "symbolic links",
                 [](const fs::path& d, const std::string&) {
                     EXPECT_TRUE(fs::is_symlink(d / "a.css"));
                     EXPECT_TRUE(fs::is_symlink(d / "b.css"));
                 }},
        KeepCase{"ReadOnlySheetIsRefused", [](const fs::path& d) { return Plain(d, 0444, 0, 0); },
                 "read-only", IsOld},
        KeepCase{"FifoIsRefusedWithoutWaiting",
                 [](const fs::path& d) {
                     ::mkfifo((d / "pipe.css").c_str(), 0644);
                     return (d / "pipe.css").string();
                 },
                 "not a regular file",
                 [](const fs::path& d, const std::string&) { EXPECT_TRUE(fs::is_fifo(d / "pipe.css")); }},
        KeepCase{"LongestNameFits",
                 [](const fs::path& d) {
                     WriteBytes(d / (std::string(251, 'n') + ".css"), kOld);
                     return (d / (std::string(251, 'n') + ".css")).string();
                 },
                 nullptr, IsNew},
        // As user 1234, in a folder only root may write: the file is written
        // in place, so it stays the same file with the same owner.
        KeepCase{"OwnFileInAFolderWeCannotWrite", [](const fs::path& d) { return Plain(d, 0644, 1234, 1234); },
                 nullptr,
                 [](const fs::path&, const std::string& p) {
                     IsNew({}, p);
                     EXPECT_EQ(Stat(p).st_uid, 1234u);
                 },
                 "--reuid=1234 --regid=1234 --clear-groups"},
        // A teammate saving a group-shared file keeps it the owner's.
        KeepCase{"GroupSharedFileStaysItsOwners",
                 [](const fs::path& d) {
                     ::chown(d.c_str(), 0, 1300);
                     ::chmod(d.c_str(), 0775);
                     return Plain(d, 0664, 1235, 1300);
                 },
                 nullptr,
                 [](const fs::path&, const std::string& p) {
                     IsNew({}, p);
                     EXPECT_EQ(Stat(p).st_uid, 1235u);
                     EXPECT_EQ(Stat(p).st_gid, 1300u);
                     EXPECT_EQ(Stat(p).st_mode & 07777, 0664u);
                 },
                 "--reuid=1234 --regid=1234 --groups=1300"},
        KeepCase{"SomeoneElsesFileIsRefused", [](const fs::path& d) { return Plain(d, 0644, 1235, 1235); },
                 "may not write", IsOld, "--reuid=1234 --regid=1234 --clear-groups"}),
    [](const auto& info) { return std::string(info.param.name); });

using FileSaveTest = CliFixture;

// A sheet is saved in pieces as it is written out: whole, on the rename path
// and on the in-place path (a file with a second link).
TEST_F(FileSaveTest, ABigSheetIsSavedWholeOnBothPaths) {
    std::string text;
    for (int i = 0; text.size() < 300000; ++i)
        text += ".r" + std::to_string(i) + " { color: red; -x-kept: " + std::to_string(i) + " }\n";
    SheetDocument doc;
    ASSERT_TRUE(doc.ReadStyleSheetText(text, "big.css"));
    const std::string expected = doc.StyleSheetText();
    const std::string fresh = (dir / "fresh.css").string();
    const std::string linked = Write("linked.css", kOld);
    fs::create_hard_link(linked, dir / "twin.css");
    for (const std::string& path : {fresh, linked}) {
        ASSERT_TRUE(doc.WriteStyleSheetFile(path)) << path;
        EXPECT_EQ(ReadBytes(path), expected) << path;
    }
    EXPECT_EQ(ReadBytes(dir / "twin.css"), expected);
}

// A save killed part-way leaves its temporary; the next save of the same file
// removes it, but not the temporary of a save still running.
TEST_F(FileSaveTest, KilledSaveLeftoversGoWithTheNextSave) {
    const std::string path = Write("page.css", kOld);
    auto childSave = [&](bool die) {
        pid_t pid = ::fork();
        if (pid == 0) {
            SetFileWriteHook([die](int fd, const char* data, std::size_t size) -> long {
                if (::write(fd, data, size / 2) < 0) ::_exit(1);
                if (die) ::raise(SIGKILL);
                ::pause();
                return -1;
            });
            ReplaceFileContents(path, std::string(100000, 'x'));
            ::_exit(0);
        }
        return pid;
    };
    auto temporaries = [&] {
        int n = 0;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().string().rfind(TemporaryPrefixFor(path), 0) == 0) ++n;
        return n;
    };
    const pid_t running = childSave(false);
    while (temporaries() < 1) ::usleep(1000);
    ::usleep(50000);  // the running save is in its write, its temporary locked
    int status;
    ::waitpid(childSave(true), &status, 0);
    ASSERT_EQ(temporaries(), 2);

    ASSERT_TRUE(ReplaceFileContents(path, kNew));
    EXPECT_EQ(ReadBytes(path), kNew);
    EXPECT_EQ(temporaries(), 1) << "only the running save's temporary is left";
    ::kill(running, SIGKILL);
    ::waitpid(running, &status, 0);
    ASSERT_TRUE(ReplaceFileContents(path, kOld));
    EXPECT_EQ(temporaries(), 0);
}

// A real full disk: a small tmpfs, for a file renamed over and a hard-linked
// file written in place. The old text survives and nothing is left behind.
TEST_F(FileSaveTest, FullSmallDiskLeavesFilesWhole) {
    const fs::path mnt = dir / "mnt";
    fs::create_directories(mnt);
    if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=256k") != 0) GTEST_SKIP() << "cannot mount a tmpfs";
    std::unique_ptr<const fs::path, void (*)(const fs::path*)> unmount(
        &mnt, [](const fs::path* m) { ::umount2(m->c_str(), MNT_DETACH); });
    WriteBytes(mnt / "a.css", kOld);
    WriteBytes(mnt / "b.css", kOld);
    fs::create_hard_link(mnt / "b.css", mnt / "b-twin.css");
    WriteBytes(mnt / "filler", std::string(200 * 1024, 'f'));
    const std::string big(100 * 1024, 'x');
    for (const char* name : {"a.css", "b.css"}) {
        SCOPED_TRACE(name);
        IoResult r = ReplaceFileContents((mnt / name).string(), big);
        EXPECT_FALSE(r);
        EXPECT_NE(r.error.find("space"), std::string::npos) << r.error;
        EXPECT_EQ(ReadBytes(mnt / name), kOld);
    }
    EXPECT_EQ(ReadBytes(mnt / "b-twin.css"), kOld);
    EXPECT_EQ(std::distance(fs::directory_iterator(mnt), fs::directory_iterator()), 4);
    // Written in place when there is room, the twin sees the new text.
    fs::remove(mnt / "filler");
    ASSERT_TRUE(ReplaceFileContents((mnt / "b.css").string(), big));
    EXPECT_EQ(ReadBytes(mnt / "b-twin.css"), big);
}

}  // namespace
}  // namespace larkspur
