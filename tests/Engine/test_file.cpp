// Files: EngFile results and messages, moves and copies without a shell,
// checked copies, the Trash, atomic saves and their error codes, and FIFOs,
// devices and links where a file is expected.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <memory>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngEncryption.h"
#include "EngFile.h"
#include "EngFont.h"
#include "EngJpeg.h"
#include "EngJson.h"
#include "EngMain.h"
#include "EngPicture.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngTga.h"
#include "EzTextFile/EzTextFile.h"
#include "GL/EngDeviceGL.h"
#include "Linux/EngGui_LNX.h"
#include "support/SeccompArch.h"
#include "support/TestSupport.h"
#include "support/Unprivileged.h"

using vztest::FileExists;
using vztest::ReadFile;
using vztest::TempDir;
using vztest::WriteFile;

namespace
{

// Saves over read-only files run as an unprivileged user, who must reach
// this program's files.
const bool runs_shared = vztest::RunFromSharedCopy();

class Files : public vztest::LogTest
{
protected:
    TempDir dir;
};

// Runs fn in a child whose files may grow to at most limit bytes; returns its
// exit code.
int RunWithFileSizeLimit(rlim_t limit, int (*fn)(const std::string&), const std::string& arg)
{
    pid_t pid = vztest::ForkChild();
    if (pid < 0)
        return -1;
    if (pid == 0)
    {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit rl;
        getrlimit(RLIMIT_FSIZE, &rl);
        rl.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &rl);
        _exit(fn(arg));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Files, ResultsAndMessages)
{
    std::string small = dir.File("small.bin");
    WriteFile(small, "abc");
    static std::string s_small, s_missing;
    s_small = small;
    s_missing = dir.File("missing.bin");
    struct Case
    {
        const char* name;
        char (*run)();
        char result;
        const char* message; // the last stored line, or "" for none
    };
    // clang-format off
    const Case cases[] = {
        {"read closed", [] { EngFile f; char b[4]; return f.Read(b, 4, 1); }, 0,
         " <ERROR>  ( EngFile::Read )    File is not open"},
        {"read short",
         [] { EngFile f(s_small.c_str(), 0, 0); char b[10]; return f.Read(b, 10, 1); }, 0,
         " <ERROR>  ( EngFile::Read )    Problem reading from file [ read 3 not 10 ]"},
        {"read exact", [] { EngFile f(s_small.c_str(), 0, 0); char b[3]; return f.Read(b, 3, 1); }, 1, ""},
        {"read nowhere", [] { EngFile f(s_small.c_str(), 0, 0); return f.Read(nullptr, 3, 1); }, 0,
         " <ERROR>  ( EngFile::Read )    Nowhere to read to"},
        {"read at end silently",
         [] { EngFile f(s_small.c_str(), 0, 0); char b[3]; f.Read(b, 3, 1); return f.Read(b, 1, 0); }, 0, ""},
        {"write to reader", [] { EngFile f(s_small.c_str(), 0, 0); return f.Write("x", 1); }, 0,
         " <ERROR>  ( EngFile::Write )    File is not open for writing"},
        {"write nothing",
         [] { EngFile f; f.OpenForAppending(s_small.c_str(), 0); return f.Write("x", 0); }, 0,
         " <ERROR>  ( EngFile::Write )    Could not write to file"},
        {"rewind closed", [] { EngFile f; return f.Rewind(); }, 0,
         " <ERROR>  ( EngFile::Rewind )    File is not opened"},
        {"open missing", [] { EngFile f; return f.OpenForReading(s_missing.c_str(), 0); }, 0, nullptr},
        {"open missing quietly", [] { EngFile f; return f.OpenForReadingIfExists(s_missing.c_str(), 0); }, 0, ""},
        {"open no name", [] { EngFile f; return f.OpenForReading("", 1); }, 0,
         " <ERROR>  ( EngFile::OpenForReading )    No filename specified"},
        {"reopen", [] { EngFile f(s_small.c_str(), 0, 0); return f.OpenForReading(s_small.c_str(), 0); }, 1,
         nullptr},
        {"delete missing silently", [] { return EngFileDelete(s_missing.c_str(), 0); }, 0, ""},
        {"delete missing loudly", [] { return EngFileDelete(s_missing.c_str(), 1); }, 0,
         " <ERROR>  ( EngFileDelete )    Deletion failed."},
        {"copy onto itself", [] { return EngFileCopyFile(s_small.c_str(), s_small.c_str(), 0); }, 0, nullptr},
        {"move onto existing", [] { return EngFileMoveFile(s_small.c_str(), s_small.c_str()); }, 0, nullptr},
        {"read from writer", [] { EngFile f; f.OpenForAppending(s_small.c_str(), 0); char b[1]; return char(f.FRead(b, 1)); }, 0,
         " <ERROR>  ( EngFile::FRead )    File is not open for reading"},
        {"line from closed", [] { EngFile f; char b[4]; return f.ReadLine(b, 4); }, 0,
         " <ERROR>  ( EngFile::ReadLine )    File is not open"},
        {"fwrite nowhere", [] { EngFile f; f.OpenForAppending(s_small.c_str(), 0); return char(f.FWrite(nullptr, 1)); }, 0,
         " <ERROR>  ( EngFile::FWrite )    Nowhere to write from"},
        {"printf to reader", [] { EngFile f(s_small.c_str(), 0, 0); return f.Printf("x"); }, 0,
         " <ERROR>  ( EngFile::Printf )    File is not open for writing"},
        {"printf closed", [] { EngFile f; return f.Printf("x"); }, 0,
         " <ERROR>  ( EngFile::Printf )    File is not open"},
        {"seek closed", [] { EngFile f; return f.MoveToPositionFromCurrentPosition(1); }, 0,
         " <ERROR>  ( EngFile::MoveToPositionFromCurrentPosition )    File is not opened"},
        {"size closed", [] { EngFile f; return char(f.GetSize()); }, 0,
         " <ERROR>  ( EngFile::GetSize )    File is not opened"},
        {"seek past end", [] { EngFile f(s_small.c_str(), 0, 0); return f.MoveToPosition(10); }, 1, ""},
        {"create no name", [] { EngFile f; return f.CreateForWriting(nullptr, 0); }, 0,
         " <ERROR>  ( EngFile::CreateForWriting )    No filename specified"},
        {"write no name", [] { EngFile f; return f.OpenForWriting("", 0); }, 0,
         " <ERROR>  ( EngFile::OpenForWriting )    No filename specified"},
        {"remove folder no name", [] { return EngFileDeleteDirectory(""); }, 0,
         " <ERROR>  ( EngFileDeleteDirectory )    No name specified"},
        {"trash no name", [] { return EngFileMoveToTrash(""); }, 0,
         " <ERROR>  ( EngFileMoveToTrash )    No filename"},
        {"rename folder no name", [] { return EngFileRenameDirectory("", "x"); }, 0,
         " <ERROR>  ( EngFileRenameDirectory )    Invalid parameters"},
    };
    // clang-format on
    for (const Case& c : cases)
    {
        DebugClearLog();
        EXPECT_EQ(c.run(), c.result) << c.name;
        if (c.message)
        {
            EXPECT_EQ(DebugGetNumMessages() ? LastLine() : "", c.message) << c.name;
        }
    }
    // Texts that hold the path.
    EngFile f;
    f.OpenForReading(s_missing.c_str(), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFile::OpenForReading )    Could not open file <" + s_missing + ">");
    EngFileCopyFile(small.c_str(), small.c_str(), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileCopyFile )    Files are the same <" + small + ">");
    EngFileMoveFile(small.c_str(), small.c_str());
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileMoveFile )    File <" + small + "> exists");
    EngFileMoveFile(s_missing.c_str(), dir.File("to.bin").c_str());
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileMoveFile )    File <" + s_missing + "> does not exist");
    EngFileRenameDirectory(s_missing.c_str(), dir.File("to").c_str());
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileRenameDirectory )    File <" + s_missing + "> does not exist");
    EngFileRenameDirectory(s_missing.c_str(), dir.Path().c_str());
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileRenameDirectory )    File <" + dir.Path() + "> exists");
    std::string in_missing = s_missing + "/x";
    {
        // Writing opens report on standard output only.
        EngFile w;
        testing::internal::CaptureStdout();
        EXPECT_EQ(w.OpenForWriting(in_missing.c_str(), 0), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "EngFile::OpenForWriting > Could not open or create file <" + in_missing + ">\n");
    }
    for (auto open : {&EngFile::CreateForWriting, &EngFile::OpenForAppending})
    {
        EngFile w(small.c_str(), 0, 0);
        EXPECT_EQ((w.*open)(in_missing.c_str(), 0), 0);
        EXPECT_EQ(
            DebugGetMessage(DebugGetNumMessages() - 2)->text,
            " <ERROR>  ( EngFile::" +
                std::string(open == &EngFile::CreateForWriting ? "CreateForWriting" : "OpenForAppending") +
                " )    File was already opened [" + in_missing + "]");
        EXPECT_EQ(LastLine(), " <ERROR>  ( EngFile::" +
                                  std::string(open == &EngFile::CreateForWriting
                                                  ? "CreateForWriting )    Could not create"
                                                  : "OpenForAppending )    Could not open or create") +
                                  " file <" + in_missing + ">");
    }
}

TEST_F(Files, WholeFileReadsAndSizes)
{
    std::string path = dir.File("whole.bin");
    ASSERT_EQ(EngFileOpenWriteAndClose(path.c_str(), 0, "12345", 5), 1);
    EXPECT_EQ(EngFileGetFileSize(path.c_str(), 0), 5u);

    char buf[8] = "xxxxxxx";
    EXPECT_EQ(EngFileOpenReadAndClose(path.c_str(), 0, buf, 5), 1);
    EXPECT_EQ(std::string(buf, 5), "12345");
    EXPECT_EQ(EngFileOpenReadAndClose(path.c_str(), 0, buf, 4), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileOpenReadAndClose )    Invalid file size in <" + path + ">");

    char untouched[4] = "abc";
    EXPECT_EQ(EngFileOpenReadAndCloseIfExists(dir.File("none").c_str(), 0, untouched, 3), 1);
    EXPECT_STREQ(untouched, "abc");
    EXPECT_EQ(EngFileOpenReadAndCloseIfExists(path.c_str(), 0, untouched, 3), 0);
}

TEST_F(Files, WritesThatCannotReachTheDiskFail)
{
    // /dev/full accepts the buffered bytes and fails on the flush.
    EXPECT_EQ(EngFileOpenWriteAndClose("/dev/full", 1, "hello", 5), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileOpenWriteAndClose )    Could not write to file </dev/full>");

    // A write larger than the stream buffer fails at once, in text mode too.
    std::string big(1 << 20, 'x');
    for (char text : {char(0), char(1)})
    {
        EngFile f;
        ASSERT_EQ(f.OpenForWriting("/dev/full", text), 1);
        EXPECT_EQ(f.Write(big.data(), EngUInt32(big.size())), 0) << "text mode " << int(text);
    }
}

TEST_F(Files, MoveAndCopyTreatNamesAsPlainText)
{
    std::string hostile = "a $(touch pwned) `touch pwned2` \"q\" 'r'.txt";
    std::string src = dir.File(hostile);
    WriteFile(src, "payload");
    ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0755), 0);
    std::string copied = dir.File("sub/" + hostile);
    std::string moved = dir.File("sub/moved " + hostile);

    char old_cwd[4096];
    ASSERT_NE(getcwd(old_cwd, sizeof(old_cwd)), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    EXPECT_EQ(EngFileCopyFile(src.c_str(), copied.c_str(), 1), 1);
    EXPECT_EQ(EngFileMoveFile(src.c_str(), moved.c_str()), 1);
    ASSERT_EQ(chdir(old_cwd), 0);

    EXPECT_EQ(ReadFile(copied), "payload");
    EXPECT_EQ(ReadFile(moved), "payload");
    EXPECT_FALSE(FileExists(src));
    for (const char* p : {"pwned", "pwned2"})
    {
        EXPECT_FALSE(FileExists(dir.File(p))) << p;
        EXPECT_FALSE(FileExists(dir.File(std::string("sub/") + p))) << p;
        EXPECT_FALSE(FileExists(std::string(old_cwd) + "/" + p)) << p;
    }
    // Copying over an existing target only when allowed.
    WriteFile(src, "second");
    EXPECT_EQ(EngFileCopyFile(src.c_str(), copied.c_str(), 1), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileCopyFile )    File <" + copied + "> exists");
    EXPECT_EQ(EngFileCopyFile(src.c_str(), copied.c_str(), 0), 1);
    EXPECT_EQ(ReadFile(copied), "second");
}

TEST_F(Files, MoveAcrossFileSystemsCopiesAndRemoves)
{
    struct stat a, b;
    if (stat("/dev/shm", &a) != 0 || stat(dir.Path().c_str(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "needs /dev/shm on another file system";
    char tmpl[] = "/dev/shm/vztest-XXXXXX";
    int fd = mkstemp(tmpl);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "far away", 8), 8);
    close(fd);
    std::string to = dir.File("arrived.txt");
    EXPECT_EQ(EngFileMoveFile(tmpl, to.c_str()), 1);
    EXPECT_EQ(ReadFile(to), "far away");
    EXPECT_FALSE(FileExists(tmpl));
    unlink(tmpl);
}

int CopyUnderLimit(const std::string& d)
{
    char r = EngFileCopyFile((d + "/big.bin").c_str(), (d + "/copy.bin").c_str(), 0);
    return r;
}

int MoveUnderLimit(const std::string& d)
{
    // Same file system: a rename needs no room and must succeed.
    return EngFileMoveFile((d + "/big.bin").c_str(), (d + "/moved.bin").c_str());
}

int WriteTextUnderLimit(const std::string& d)
{
    EngFile f;
    if (!f.OpenForWriting((d + "/text.txt").c_str(), 1))
        return 2;
    std::string big(200000, 't');
    return f.Write(big.data(), EngUInt32(big.size()));
}

TEST_F(Files, ShortWriteFailsInTextMode)
{
    EXPECT_EQ(RunWithFileSizeLimit(65536, WriteTextUnderLimit, dir.Path()), 0);
    EXPECT_NE(ReadFile(LogPath()).find("( EngFile::Write )    Only wrote "), std::string::npos);
}

TEST_F(Files, CopyOntoAnotherSpellingOfTheSourceIsRefused)
{
    WriteFile(dir.File("keep.txt"), "precious");
    std::string other = dir.Path() + "/./keep.txt";
    EXPECT_EQ(EngFileCopyFile(dir.File("keep.txt").c_str(), other.c_str(), 0), 0);
    EXPECT_EQ(ReadFile(dir.File("keep.txt")), "precious");
}

TEST_F(Files, CopyThatCannotBeWrittenWhollyLeavesNothing)
{
    WriteFile(dir.File("big.bin"), std::string(200000, 'z'));
    EXPECT_EQ(RunWithFileSizeLimit(65536, CopyUnderLimit, dir.Path()), 0);
    EXPECT_FALSE(FileExists(dir.File("copy.bin")));
    EXPECT_NE(ReadFile(LogPath()).find("File was not copied: <" + dir.File("big.bin") + "> to <" +
                                       dir.File("copy.bin") + ">"),
              std::string::npos);
    EXPECT_EQ(RunWithFileSizeLimit(65536, MoveUnderLimit, dir.Path()), 1);
    EXPECT_EQ(ReadFile(dir.File("moved.bin")).size(), 200000u);
}

TEST_F(Files, FailedCopyKeepsTheOldTarget)
{
    const struct
    {
        const char* name;
        std::function<void(const std::string&)> make_source;
        rlim_t file_limit; // 0: none
        char result;
        const char* target_after; // null: the source's contents
        const char* reason;       // the last line's text after "( EngFileCopyFile )    "; "" for none
    } cases[] = {
        {"folder source", [](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0755), 0); }, 0, 0, "old",
         "Not a regular file <%s>"},
        {"FIFO source", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, 0, 0, "old",
         "Not a regular file <%s>"},
        {"link to a device as source",
         [](const std::string& p) { ASSERT_EQ(symlink("/dev/zero", p.c_str()), 0); }, 0, 0, "old",
         "Not a regular file <%s>"},
        {"file-size limit", [](const std::string& p) { WriteFile(p, std::string(200000, 'n')); }, 65536, 0,
         "old", "File was not copied: <%s> to <%s>: File too large"},
        {"good copy over an existing file",
         [](const std::string& p)
         {
             WriteFile(p, std::string(100000, 'g'));
             chmod(p.c_str(), 0640);
         },
         0, 1, nullptr, ""},
    };
    int row = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string folder = dir.File(std::to_string(row++));
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        std::string from = folder + "/source", to = folder + "/target";
        c.make_source(from);
        WriteFile(to, "old");
        std::string got = vztest::RunInChild(
            [&]
            {
                signal(SIGXFSZ, SIG_IGN);
                if (c.file_limit)
                {
                    struct rlimit rl;
                    getrlimit(RLIMIT_FSIZE, &rl);
                    rl.rlim_cur = c.file_limit;
                    setrlimit(RLIMIT_FSIZE, &rl);
                }
                DebugClearLog();
                mode_t old = umask(022);
                char r = EngFileCopyFile(from.c_str(), to.c_str(), 0);
                umask(old);
                return "result " + std::to_string(r) + ": " + (DebugGetNumMessages() ? LastLine() : "");
            });
        char reason[1024] = "";
        if (c.reason[0])
            snprintf(reason, sizeof(reason),
                     (std::string(" <ERROR>  ( EngFileCopyFile )    ") + c.reason).c_str(), from.c_str(),
                     to.c_str());
        EXPECT_EQ(got, "result " + std::to_string(c.result) + ": " + reason);
        EXPECT_EQ(ReadFile(to), c.target_after ? c.target_after : ReadFile(from));
        EXPECT_EQ(vztest::Listing(folder), (std::vector<std::string>{"source", "target"}))
            << "no temporary left";
        struct stat st;
        if (c.result)
        {
            ASSERT_EQ(stat(to.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0640u) << "the copy has the source's permission bits";
        }
    }
}

TEST_F(Files, TrashKeepsEarlierFilesOfTheSameName)
{
    vztest::ScopedEnv data("XDG_DATA_HOME", dir.File("data").c_str());
    std::string victim = dir.File("note 100%.txt");
    WriteFile(victim, "first");
    ASSERT_EQ(EngFileMoveToTrash(victim.c_str()), 1);
    WriteFile(victim, "second");
    ASSERT_EQ(EngFileMoveToTrash(victim.c_str()), 1);
    EXPECT_FALSE(FileExists(victim));

    std::string trash = dir.File("data/Trash");
    EXPECT_EQ(vztest::Listing(trash + "/files"),
              (std::vector<std::string>{"note 100%.txt", "note 100%.txt.2"}));
    EXPECT_EQ(ReadFile(trash + "/files/note 100%.txt"), "first");
    EXPECT_EQ(ReadFile(trash + "/files/note 100%.txt.2"), "second");
    std::string info = ReadFile(trash + "/info/note 100%.txt.2.trashinfo");
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
    EXPECT_NE(info.find("/note%20100%25.txt\nDeletionDate="), std::string::npos) << info;

    EXPECT_EQ(EngFileMoveToTrash(victim.c_str()), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileMoveToTrash )    File does not exist");
}

int SaveUnderLimit(const std::string& d)
{
    std::string big(200000, 'n');
    return EngFileSaveAtomically((d + "/Options.dat").c_str(), big.data(), EngUInt32(big.size()));
}

TEST_F(Files, SaveAtomicallyReplacesOrKeepsTheOldFile)
{
    std::string path = dir.File("Options.dat");
    WriteFile(path, "old record");
    chmod(path.c_str(), 0600);
    ASSERT_EQ(EngFileSaveAtomically(path.c_str(), "new record", 10), 1);
    EXPECT_EQ(ReadFile(path), "new record");
    EXPECT_EQ(EngFileGetLastSaveError(), 0);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "the old file's permissions are kept";

    // The write fails half way: the old file survives and no temporary is left.
    EXPECT_EQ(RunWithFileSizeLimit(65536, SaveUnderLimit, dir.Path()), 0);
    EXPECT_EQ(ReadFile(path), "new record");
    EXPECT_EQ(vztest::Listing(dir.Path()), (std::vector<std::string>{"Options.dat"}));
    EXPECT_NE(ReadFile(LogPath()).find("Could not write <" + path + ">: " + strerror(EFBIG)),
              std::string::npos);

    // Each failure names its step and its reason, and nothing is left behind.
    ASSERT_EQ(mkdir(dir.File("folder").c_str(), 0755), 0);
    const struct
    {
        std::string path;
        const char* step;
        int err;
    } cases[] = {
        {dir.File("folder"), "Could not replace", EISDIR},
        {dir.File("nofolder/x.dat"), "Could not create a temporary file for", ENOENT},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(EngFileSaveAtomically(c.path.c_str(), "x", 1), 0);
        EXPECT_EQ(EngFileGetLastSaveError(), c.err);
        EXPECT_EQ(LastLine(), std::string(" <ERROR>  ( EngFileSaveAtomically )    ") + c.step + " <" +
                                  c.path + ">: " + strerror(c.err));
        EXPECT_EQ(vztest::Listing(dir.Path()), (std::vector<std::string>{"Options.dat", "folder"}));
    }
    EXPECT_EQ(EngFileSaveAtomically(dir.File("empty.dat").c_str(), "", 0), 1);
    EXPECT_EQ(ReadFile(dir.File("empty.dat")), "");
}

// Makes every write(2) of exactly n bytes in this process return 0, having
// written nothing, as a file system may; "" when it does, else why not.
std::string WritesOfSizeWriteNothing(size_t n)
{
    if (vztest::kSeccompArch == 0)
        return "no seccomp architecture known for this machine";
    // Arguments are 64 bits, compared as their low and high words (little-endian).
    const unsigned count_low = offsetof(seccomp_data, args) + 2 * sizeof(__u64);
    sock_filter prog[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, vztest::kSeccompArch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_write, 0, 4),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, count_low),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, unsigned(n), 0, 2),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, count_low + 4),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        // An "error" of 0: the call is skipped and returns 0.
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | 0),
    };
    sock_fprog fprog = {static_cast<unsigned short>(std::size(prog)), prog};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &fprog) != 0)
        return std::string("no seccomp filter: ") + strerror(errno);
    return "";
}

const char kNoWriteStub[] = "no stubbed write: ";

// Every failed save leaves a code for the caller to show: a writer's own
// reason is logged as it gave it and reads EINVAL, or the errno the writer
// set with it; a writer that fails telling nothing reads EIO, and the errno a
// writer sets is kept. A write(2) that writes nothing reads EIO, whatever
// errno held before.
TEST_F(Files, EveryFailedSaveLeavesAnErrorCode)
{
    const std::string path = dir.File("Options.dat");
    // A size nothing else here writes in one call.
    static const std::string stubbed(7919, 's');
    static std::string no_stub;
    const auto with = [](EngFileSaveWriter write) {
        return [write](const std::string& p) { return EngFileSaveAtomicallyWith(p.c_str(), write, nullptr); };
    };
    const struct
    {
        const char* name;
        std::function<char(const std::string& path)> save;
        const char* func;
        int err;
        const char* told;
    } cases[] = {
        {"a reason of its own",
         with(
             [](FILE*, void*, char* why, size_t size) -> char
             {
                 snprintf(why, size, "nothing to write");
                 return 0;
             }),
         "EngFileSaveAtomicallyWith", EINVAL, "nothing to write"},
        {"nothing said", with([](FILE*, void*, char*, size_t) -> char { return 0; }),
         "EngFileSaveAtomicallyWith", EIO, strerror(EIO)},
        {"errno",
         with(
             [](FILE*, void*, char*, size_t) -> char
             {
                 errno = ENOSPC;
                 return 0;
             }),
         "EngFileSaveAtomicallyWith", ENOSPC, strerror(ENOSPC)},
        // The reason is what is logged; the errno is the code.
        {"a reason and an errno",
         with(
             [](FILE*, void*, char* why, size_t size) -> char
             {
                 snprintf(why, size, "the picture cannot be encoded");
                 errno = ENOMEM;
                 return 0;
             }),
         "EngFileSaveAtomicallyWith", ENOMEM, "the picture cannot be encoded"},
        {"write() writes nothing",
         [](const std::string& p)
         {
             no_stub = WritesOfSizeWriteNothing(stubbed.size());
             if (!no_stub.empty())
                 return char(-1);
             errno = EDOM;
             return EngFileSaveAllAtomically({{p, stubbed, "old"}}, "AllOrNone");
         },
         "AllOrNone", EIO, strerror(EIO)},
    };
    std::string not_run;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(EngFileSaveAtomically(path.c_str(), "old", 3), 1);
        const std::string got = vztest::RunInChild(
            [&]
            {
                DebugClearLog();
                const char r = c.save(path);
                if (r < 0)
                    return kNoWriteStub + no_stub;
                return "result " + std::to_string(r) + ", code " + strerror(EngFileGetLastSaveError()) +
                       ": " + LastLine();
            });
        if (got.rfind(kNoWriteStub, 0) == 0)
        {
            not_run += " " + std::string(c.name) + " (" + got.substr(strlen(kNoWriteStub)) + ")";
            continue;
        }
        EXPECT_EQ(got, std::string("result 0, code ") + strerror(c.err) + ":  <ERROR>  ( " + c.func +
                           " )    Could not write <" + path + ">: " + c.told);
        EXPECT_EQ(ReadFile(path), "old");
        EXPECT_EQ(vztest::Listing(dir.Path()), (std::vector<std::string>{"Options.dat"}));
    }
    if (!not_run.empty())
        GTEST_SKIP() << "the machine cannot make write(2) write nothing, so these did not run:" << not_run;
}

// A save that may only replace a regular file refuses whatever else is at
// the path with a code that says what is in the way: a folder, a link, or
// something that is not a file at all. The thing is left as it was, and no
// temporary stays.
TEST_F(Files, SavesRefuseWhatIsInTheWayWithACodeThatSaysWhat)
{
    WriteFile(dir.File("file"), "a file");
    const struct
    {
        const char* name;
        std::function<bool(const std::string& path)> save; // true when saved
    } savers[] = {
        {"only over a file",
         [](const std::string& p) { return EngFileSaveAtomically(p.c_str(), "new", 3, 1) == 1; }},
        {"all or none",
         [](const std::string& p) {
             return EngFileSaveAllAtomically({{p, "new", ""}}, "AllOrNone") == 1;
         }},
        {"encrypted",
         [](const std::string& p)
         {
             char data[] = "new";
             return EngEncryptionEncryptAndWriteToFile(p.c_str(), data, 3);
         }},
    };
    const struct
    {
        const char* name;
        std::function<void(const std::string&)> make;
        int err;
    } in_the_way[] = {
        {"folder", [](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0755), 0); }, EISDIR},
        {"link to a file",
         [&](const std::string& p) { ASSERT_EQ(symlink(dir.File("file").c_str(), p.c_str()), 0); }, ELOOP},
        {"dangling link", [](const std::string& p) { ASSERT_EQ(symlink("nowhere", p.c_str()), 0); }, ELOOP},
        {"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, EOPNOTSUPP},
    };
    char password[] = "in the way";
    ASSERT_TRUE(EngEncryptionInit(password));
    int row = 0;
    for (const auto& s : savers)
        for (const auto& t : in_the_way)
        {
            SCOPED_TRACE(std::string(s.name) + " over a " + t.name);
            const std::string folder = dir.File(std::to_string(row++));
            ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
            const std::string path = folder + "/Options.dat";
            t.make(path);
            struct stat before;
            ASSERT_EQ(lstat(path.c_str(), &before), 0);
            DebugClearLog();
            EXPECT_FALSE(s.save(path));
            EXPECT_EQ(EngFileGetLastSaveError(), t.err) << strerror(EngFileGetLastSaveError());
            EXPECT_TRUE(vztest::Logged("Not a regular file <" + path + ">: " + strerror(t.err)));
            struct stat after;
            ASSERT_EQ(lstat(path.c_str(), &after), 0);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_mode, before.st_mode);
            EXPECT_EQ(vztest::Listing(folder), (std::vector<std::string>{"Options.dat"}));
        }
    EXPECT_EQ(ReadFile(dir.File("file")), "a file");
}

TEST_F(Files, SavesRefuseReadOnlyFilesAndTakeTheLongestNames)
{
    char password[] = "saves key";
    ASSERT_TRUE(EngEncryptionInit(password));
    const struct
    {
        const char* name;
        std::function<bool(const std::string& path, std::string data)> save;
        std::function<std::string(const std::string& path, size_t size)> load;
    } savers[] = {
        {"atomic save",
         [](const std::string& p, std::string d)
         { return EngFileSaveAtomically(p.c_str(), d.data(), EngUInt32(d.size())) == 1; },
         [](const std::string& p, size_t) { return ReadFile(p); }},
        {"encrypted save",
         [](const std::string& p, std::string d)
         { return EngEncryptionEncryptAndWriteToFile(p.c_str(), &d[0], EngUInt32(d.size())); },
         [](const std::string& p, size_t n)
         {
             std::string out(n, '\0');
             return EngEncryptionReadFromFileAndDecrypt(p.c_str(), &out[0], EngUInt32(n))
                        ? out
                        : std::string("unreadable");
         }},
    };
    std::string e_acute_255 = "xx";
    for (int i = 0; i < 126; i++)
        e_acute_255 += "\xC3\xA9";
    e_acute_255 += "y";
    const struct
    {
        const char* name;
        std::string file;
        bool old_file;
        mode_t mode;
        const char* want;
    } targets[] = {
        {"read-only file", "Options.dat", true, 0444,
         "refused as a plain write is, logged, holds the old file, 0 left over"},
        {"250-byte name", std::string(246, 'n') + ".dat", false, 0, "saved, holds the new data, 0 left over"},
        {"255-byte name over an old file", e_acute_255, true, 0644, "saved, holds the new data, 0 left over"},
    };
    // Root writes into a read-only file: those saves run as an unprivileged user.
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    int row = 0;
    vztest::NotRunRows not_run;
    for (const auto& s : savers)
        for (const auto& t : targets)
        {
            SCOPED_TRACE(std::string(s.name) + " to " + t.name);
            std::string folder = dir.File(std::to_string(row++));
            ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
            ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
            std::string path = folder + "/" + t.file;
            ASSERT_EQ(path.size() - folder.size() - 1, t.file.size());
            const bool read_only = t.old_file && !(t.mode & 0222);
            std::string got = vztest::RunInChild(
                [&]
                {
                    if (std::string why = read_only ? vztest::DropRoot() : ""; !why.empty())
                        return why;
                    const std::string old = "old file", data = "new data";
                    if (t.old_file)
                    {
                        WriteFile(path, old);
                        chmod(path.c_str(), t.mode);
                    }
                    int plain = t.old_file ? open(path.c_str(), O_WRONLY) : -1;
                    int plain_err = plain < 0 ? errno : 0;
                    if (plain >= 0)
                        close(plain);
                    DebugClearLog();
                    std::string out;
                    if (s.save(path, data))
                        out = "saved";
                    else
                    {
                        int err = EngFileGetLastSaveError();
                        out = err == plain_err ? "refused as a plain write is"
                                               : std::string("refused with ") + strerror(err) +
                                                     ", a plain write with " + strerror(plain_err);
                        out +=
                            vztest::Logged("<" + path + ">: " + strerror(err)) ? ", logged" : ", not logged";
                    }
                    std::string raw = ReadFile(path);
                    out += raw == old                          ? ", holds the old file"
                           : s.load(path, data.size()) == data ? ", holds the new data"
                                                               : ", holds something else";
                    return out + ", " + std::to_string(int(vztest::Listing(folder).size()) - 1) +
                           " left over";
                });
            if (!not_run.Noted(got, std::string(s.name) + " to " + t.name))
            {
                EXPECT_EQ(got, t.want);
            }
        }
    if (!not_run.Empty())
        GTEST_SKIP() << not_run.Why();
}

bool IsRecord(const char* name)
{
    return !strcmp(name, "a.dat") || !strcmp(name, "b.dat");
}

TEST_F(Files, OnlyTheTemporariesOfCutOffSavesAreRemoved)
{
    const char* gone[] = {"a.dat.tmpAb3dE9", "b.dat.tmp000000"};
    const char* kept[] = {"a.dat",           "a.dat.tmp12345",      "a.dat.tmpABCDEFG", "a.dat.tmpAB-DEF",
                          "c.dat.tmpABCDEF", "a.dat.tmpABCDEF.old", ".tmpABCDEF"};
    for (const char* n : gone)
        WriteFile(dir.File(n), "cut off");
    for (const char* n : kept)
        WriteFile(dir.File(n), "keep");
    ASSERT_EQ(mkdir(dir.File("b.dat.tmpFOLDER").c_str(), 0755), 0);
    ASSERT_EQ(symlink(dir.File("a.dat").c_str(), dir.File("a.dat.tmpSYMLNK").c_str()), 0);

    EXPECT_EQ(EngFileRemoveInterruptedSaves(dir.Path().c_str(), IsRecord), 2);
    std::vector<std::string> want(std::begin(kept), std::end(kept));
    want.push_back("a.dat.tmpSYMLNK");
    want.push_back("b.dat.tmpFOLDER");
    std::sort(want.begin(), want.end());
    EXPECT_EQ(vztest::Listing(dir.Path()), want);
    EXPECT_EQ(ReadFile(dir.File("a.dat")), "keep");
    EXPECT_EQ(EngFileRemoveInterruptedSaves(dir.File("missing").c_str(), IsRecord), 0);
}

bool IsLongRecord(const char* name)
{
    return !strncmp(name, "record-", 7) && strlen(name) > 11 && !strcmp(name + strlen(name) - 4, ".dat");
}

// Saves a record of 100000 bytes over path in a child that the file-size
// signal kills half way through the write, as a kill -9 would; the signal.
int KilledSave(const std::string& path)
{
    pid_t pid = vztest::ForkChild();
    if (pid < 0)
        return 0;
    if (pid == 0)
    {
        signal(SIGXFSZ, SIG_DFL);
        struct rlimit rl = {20000, 20000};
        setrlimit(RLIMIT_FSIZE, &rl);
        std::string big(100000, 'k');
        EngFileSaveAtomically(path.c_str(), big.data(), EngUInt32(big.size()));
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// A save of a name too long to take ".tmpXXXXXX" whole, killed half way,
// leaves a temporary of a cut name; the next start's clean-up finds it by its
// record, and leaves alone the files that only look like one.
TEST_F(Files, TemporariesOfLongNamesCutOffAreRemovedAndOnlyThey)
{
    // 255 bytes; the cut to 245 falls inside a character.
    std::string e_acute = "record-x";
    while (e_acute.size() < 249)
        e_acute += "\xC3\xA9";
    e_acute += "y.dat";
    const struct
    {
        const char* name;
        std::string record;
        bool old_record; // the record was there before the save
        int removed;
    } cases[] = {
        {"246-byte name", "record-" + std::string(235, 'n') + ".dat", true, 1},
        {"250-byte name", "record-" + std::string(239, 'n') + ".dat", true, 1},
        {"255-byte name of two-byte characters", e_acute, true, 1},
        {"first save of a 250-byte name", "record-" + std::string(239, 'f') + ".dat", false, 0},
        {"250-byte name the caller does not keep", "notes-" + std::string(240, 'x') + ".dat", true, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        TempDir folder;
        const std::string path = folder.File(c.record);
        if (c.old_record)
            WriteFile(path, "old record");
        ASSERT_EQ(KilledSave(path), SIGXFSZ);
        std::vector<std::string> left = vztest::Listing(folder.Path());
        ASSERT_EQ(left.size(), c.old_record ? 2u : 1u) << "the killed save left its temporary";
        EXPECT_EQ(EngFileRemoveInterruptedSaves(folder.Path().c_str(), IsLongRecord), c.removed);
        EXPECT_EQ(vztest::Listing(folder.Path()).size(), left.size() - size_t(c.removed));
        if (c.old_record)
        {
            EXPECT_EQ(ReadFile(path), "old record");
        }
        else
        {
            // Once a later save has put the record there, its temporary is known.
            WriteFile(path, "saved later");
            EXPECT_EQ(EngFileRemoveInterruptedSaves(folder.Path().c_str(), IsLongRecord), 1);
            EXPECT_EQ(vztest::Listing(folder.Path()), std::vector<std::string>{c.record});
        }
    }

    // Beside a 250-byte record, names near its temporary's that are not it.
    TempDir folder;
    const std::string record = "record-" + std::string(239, 'n') + ".dat";
    WriteFile(folder.File(record), "old record");
    const std::string stem = record.substr(0, 245);
    const std::string kept[] = {
        stem.substr(0, 244) + ".tmpABCDEF",              // shorter than the cut
        "record-" + std::string(10, 'n') + ".tmpABCDEF", // a stem of a name that fits whole
        stem.substr(0, 241) + "nnnx.tmpABCDEF",          // the cut of no record
        stem + ".tmpABCDE",                              // not a temporary's tail
    };
    for (const std::string& n : kept)
        WriteFile(folder.File(n), "someone else's");
    ASSERT_EQ(mkdir(folder.File(stem + ".tmpFOLDER").c_str(), 0755), 0);
    EXPECT_EQ(EngFileRemoveInterruptedSaves(folder.Path().c_str(), IsLongRecord), 0);
    EXPECT_EQ(vztest::Listing(folder.Path()).size(), std::size(kept) + 2);
    for (const std::string& n : kept)
        EXPECT_EQ(ReadFile(folder.File(n)), "someone else's") << n;
}

// Something other than a regular file where a reader or writer expects one.
struct Hostile
{
    std::string name, path;
    bool fifo;
};

std::vector<Hostile> MakeHostile(const TempDir& dir)
{
    EXPECT_EQ(mkfifo(dir.File("pipe").c_str(), 0644), 0);
    EXPECT_EQ(symlink("/dev/zero", dir.File("zero").c_str()), 0);
    EXPECT_EQ(symlink("/dev/null", dir.File("null").c_str()), 0);
    return {{"FIFO", dir.File("pipe"), true},
            {"/dev/zero", "/dev/zero", false},
            {"link to /dev/zero", dir.File("zero"), false},
            {"link to /dev/null", dir.File("null"), false}};
}

TEST_F(Files, FifosAndDevicesNeverBlockAndAreNeverRead)
{
    static std::string scratch;
    scratch = dir.File("scratch");
    struct Case
    {
        const char* name;
        std::function<bool(const char*)> refused; // true when nothing was taken from or put into path
        bool says_why;                            // logs "Not a regular file <path>"
        bool fifo_only;                           // a writer: a character device is a sink it may use
    };
    // clang-format off
    const Case cases[] = {
        {"EngFile::OpenForReading", [](const char* p) { EngFile f; return !f.OpenForReading(p, 0); }, true, false},
        {"EngFile::OpenForReadingIfExists", [](const char* p) { EngFile f; return !f.OpenForReadingIfExists(p, 1); }, true, false},
        {"EngFileExists", [](const char* p) { return !EngFileExists(p); }, false, false},
        {"EngFileGetFileSize", [](const char* p) { return EngFileGetFileSize(p, 0) == 0; }, true, false},
        {"EngFileGetLastModifiedTime", [](const char* p) { return EngFileGetLastModifiedTime(p) == 0; }, true, false},
        {"EngFileOpenReadAndClose", [](const char* p) { char b[4]; return !EngFileOpenReadAndClose(p, 0, b, 4); }, true, false},
        {"EngFileOpenReadAndCloseIfExists",
         [](const char* p) { char b[5] = "keep"; EngFileOpenReadAndCloseIfExists(p, 0, b, 4); return !strcmp(b, "keep"); }, true, false},
        {"EngFileReadWholeFile", [](const char* p) { size_t n; return !EngFileReadWholeFile(p, 100, &n); }, true, false},
        {"EngFileCopyFile",
         [](const char* p) { return !EngFileCopyFile(p, scratch.c_str(), 0) && !vztest::FileExists(scratch); }, true, false},
        {"EngJsonReadObjectFromFile", [](const char* p) { json::Object o; return !EngJsonReadObjectFromFile(&o, p); }, false, false},
        {"TextFile reading", [](const char* p) { TextFile tf; return tf.Open(p, TF_READ, 0, 0) != 0; }, true, false},
        {"EngTga::GetSizeFromFile", [](const char* p) { EngTga t; int w, h, b; return !t.GetSizeFromFile(p, &w, &h, &b); }, true, false},
        {"EngJpegGetFileInfo", [](const char* p) { unsigned w, h, c; return !EngJpegGetFileInfo(p, &w, &h, &c); }, true, false},
        {"EngFontGetFontFileDetails", [](const char* p) { char f[64], s[64]; int c; return !EngFontGetFontFileDetails(p, f, 64, s, 64, &c); }, false, false},
        {"EngTexture::LoadFromFileToMemory",
         [](const char* p) {
             eng_main_device_type = ENG_DEVICE_TYPE_GL;
             eng_main_device_gl = new EngDeviceGL(nullptr);
             EngTexture t;
             return !t.LoadFromFileToMemory(p, 0, 0, 0);
         }, true, false},
        {"EngTga::FillFromJpeg",
         [](const char* p) { EngTga t(4, 4, 32); return !t.FillFromJpeg(0, 0, -1, -1, p, 0, 0, -1, -1, 0, 0, _EngTgaAlphaType(0), 0, 1, 0); },
         true, false},
        {"EngPicture::LoadFromFile", [](const char* p) { EngPicture pic; return !pic.LoadFromFile(nullptr, p, 0); }, true, false},
        {"EngGuiCreateCGImageFromBundleResource", [](const char* p) { return !EngGuiCreateCGImageFromBundleResource(p); }, true, false},
        {"EngFont::CreateFromFontFile",
         [](const char* p) { EngFont f; return !f.CreateFromFontFile(p, 0, 32, 64, 32, 127, nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0); },
         true, false},
        {"EngEncryptionReadFromFileAndDecrypt",
         [](const char* p) { char pw[] = "key"; char b[8]; return EngEncryptionInit(pw) && !EngEncryptionReadFromFileAndDecrypt(p, b, 8); }, true, false},
        {"EngEncryptionCheckEncryptedFileSizeOk", [](const char* p) { return !EngEncryptionCheckEncryptedFileSizeOk(p, 0); }, false, false},
        {"EngFile::OpenForWriting", [](const char* p) { EngFile f; return !f.OpenForWriting(p, 0); }, true, true},
        {"EngFile::OpenForAppending", [](const char* p) { EngFile f; return !f.OpenForAppending(p, 0); }, true, true},
        {"TextFile writing", [](const char* p) { TextFile tf; return tf.Open(p, TF_WRITE, TF_UTF8, 0) != 0; }, true, true},
        {"the log file",
         [](const char* p) { DebugSetLogFilename(p, 0); DebugAppendToExistingLogFile(); DebugInfo("into a FIFO"); return true; }, false, true},
    };
    // clang-format on
    for (const Hostile& h : MakeHostile(dir))
        for (const Case& c : cases)
        {
            if (c.fifo_only && !h.fifo)
                continue;
            SCOPED_TRACE(std::string(c.name) + " on " + h.name);
            std::string got = vztest::RunInChild(
                [&]
                {
                    DebugClearLog();
                    if (!c.refused(h.path.c_str()))
                        return std::string("taken");
                    if (c.says_why && !vztest::Logged("Not a regular file <" + h.path + ">"))
                        return std::string("no reason logged");
                    return std::string();
                });
            EXPECT_EQ(got, "");
        }
    struct stat st;
    ASSERT_EQ(lstat(dir.File("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO is left as it was";
}

TEST_F(Files, SizesBeyond32BitsAreNoSize)
{
    std::string path = dir.File("sparse.bin");
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    bool made = ftruncate(fd, off_t(0x100000000ll + 10)) == 0;
    close(fd);
    if (!made)
        GTEST_SKIP() << "no room for a sparse file of 4 GiB here";
    EXPECT_EQ(EngFileGetFileSize(path.c_str(), 0), 0u);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFile::GetSize )    Problem getting size");
    char buf[10];
    EXPECT_EQ(EngFileOpenReadAndClose(path.c_str(), 0, buf, 10), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileOpenReadAndClose )    Invalid file size in <" + path + ">");
    EngFile f(path.c_str(), 0, 0);
    ASSERT_EQ(f.MoveToPosition(3), 1);
    EXPECT_EQ(f.GetSize(), 0u);
    EXPECT_EQ(f.GetPosition(), 3u) << "the position is kept";
}

TEST_F(Files, MovesAndCopiesNeverReplaceWhatIsInTheWay)
{
    WriteFile(dir.File("victim"), "victim");
    // Root reads a file of mode 000; a dangling link cannot be read by anyone.
    struct
    {
        const char* name;
        std::function<void(const std::string&)> make;
    } const targets[] = {
        {"unreadable file",
         [](const std::string& p)
         {
             WriteFile(p, "kept");
             chmod(p.c_str(), 0);
         }},
        {"dangling link", [](const std::string& p) { ASSERT_EQ(symlink("/nonexistent/x", p.c_str()), 0); }},
        {"link to a file",
         [&](const std::string& p) { ASSERT_EQ(symlink(dir.File("victim").c_str(), p.c_str()), 0); }},
    };
    std::string src = dir.File("src");
    WriteFile(src, "new");
    for (const auto& t : targets)
    {
        SCOPED_TRACE(t.name);
        std::string to = dir.File(std::string("to ") + t.name);
        t.make(to);
        struct stat before, after;
        ASSERT_EQ(lstat(to.c_str(), &before), 0);
        EXPECT_EQ(EngFileMoveFile(src.c_str(), to.c_str()), 0);
        EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileMoveFile )    File <" + to + "> exists");
        EXPECT_EQ(EngFileCopyFile(src.c_str(), to.c_str(), 1), 0);
        EXPECT_EQ(LastLine(), " <ERROR>  ( EngFileCopyFile )    File <" + to + "> exists");
        ASSERT_EQ(lstat(to.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        EXPECT_EQ(ReadFile(src), "new");
    }
    EXPECT_EQ(ReadFile(dir.File("victim")), "victim");
}

TEST_F(Files, FolderMovesToAnotherFileSystemWhole)
{
    struct stat a, b;
    if (stat("/dev/shm", &a) != 0 || stat(dir.Path().c_str(), &b) != 0 || a.st_dev == b.st_dev ||
        access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "needs a writable /dev/shm on another file system";
    char tmpl[] = "/dev/shm/vztest-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string far = tmpl;
    // Gone however the test ends.
    std::unique_ptr<const char, void (*)(const char*)> gone(tmpl, [](const char* p)
                                                            { std::filesystem::remove_all(p); });
    std::string from = far + "/game data";
    ASSERT_EQ(mkdir(from.c_str(), 0750), 0);
    ASSERT_EQ(mkdir((from + "/saves").c_str(), 0700), 0);
    ASSERT_EQ(mkdir((from + "/empty").c_str(), 0755), 0);
    WriteFile(from + "/Options.dat", "options");
    chmod((from + "/Options.dat").c_str(), 0640);
    WriteFile(from + "/saves/one.dat", std::string(100000, 's'));
    ASSERT_EQ(symlink("saves/one.dat", (from + "/latest").c_str()), 0);

    std::string to = dir.File("moved");
    ASSERT_EQ(EngFileRenameDirectory(from.c_str(), to.c_str()), 1);
    EXPECT_FALSE(FileExists(from));
    EXPECT_EQ(vztest::Listing(to), (std::vector<std::string>{"Options.dat", "empty", "latest", "saves"}));
    EXPECT_EQ(ReadFile(to + "/Options.dat"), "options");
    EXPECT_EQ(ReadFile(to + "/saves/one.dat"), std::string(100000, 's'));
    char link[64] = {};
    ASSERT_GT(readlink((to + "/latest").c_str(), link, sizeof(link) - 1), 0);
    EXPECT_STREQ(link, "saves/one.dat");
    struct stat st;
    ASSERT_EQ(stat(to.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    ASSERT_EQ(stat((to + "/Options.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // What cannot be copied refuses the move: the source stays whole, no part copy is left.
    std::string odd = far + "/with a FIFO";
    ASSERT_EQ(mkdir(odd.c_str(), 0755), 0);
    WriteFile(odd + "/a.dat", "a");
    ASSERT_EQ(mkfifo((odd + "/pipe").c_str(), 0644), 0);
    std::string to_odd = dir.File("odd");
    std::string got = vztest::RunInChild(
        [&] { return std::to_string(EngFileRenameDirectory(odd.c_str(), to_odd.c_str())); });
    EXPECT_EQ(got, "0");
    EXPECT_FALSE(FileExists(to_odd));
    EXPECT_EQ(vztest::Listing(odd), (std::vector<std::string>{"a.dat", "pipe"}));
    EXPECT_NE(ReadFile(LogPath()).find("Could not copy <" + odd + "> to <" + to_odd + ">: " + odd +
                                       "/pipe: not a file, folder or link"),
              std::string::npos);
    EXPECT_NE(ReadFile(LogPath()).find("Dir was not renamed: <" + odd + "> to <" + to_odd + ">"),
              std::string::npos);
}

TEST_F(Files, SavedFilesTakeTheUmaskAndNeverALinkTargetsMode)
{
    std::string path = dir.File("Resolution.dat");
    const struct
    {
        const char* name;
        mode_t umask;
        std::function<void()> before; // what is at path before the save
        mode_t want;
    } cases[] = {
        {"new under 022", 022, [] {}, 0644},
        {"new under 077", 077, [] {}, 0600},
        {"old file's bits kept", 077,
         [&]
         {
             WriteFile(path, "old");
             chmod(path.c_str(), 0640);
         },
         0640},
        {"set-ID and sticky bits dropped", 022,
         [&]
         {
             WriteFile(path, "old");
             chmod(path.c_str(), 06755 | S_ISVTX);
         },
         0755},
        {"link to /dev/zero replaced", 077, [&] { ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); }, 0600},
        {"FIFO replaced", 022, [&] { ASSERT_EQ(mkfifo(path.c_str(), 0666), 0); }, 0644},
        {"planted temporary ignored", 077,
         [&] { ASSERT_EQ(symlink(dir.File("victim").c_str(), (path + ".tmp").c_str()), 0); }, 0600},
    };
    WriteFile(dir.File("victim"), "victim");
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        unlink(path.c_str());
        unlink((path + ".tmp").c_str());
        c.before();
        mode_t old = umask(c.umask);
        char saved = EngFileSaveAtomically(path.c_str(), "record", 6);
        umask(old);
        EXPECT_EQ(saved, 1);
        struct stat st;
        ASSERT_EQ(lstat(path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, c.want);
        EXPECT_EQ(ReadFile(path), "record");
    }
    EXPECT_EQ(ReadFile(dir.File("victim")), "victim");
}

} // namespace
