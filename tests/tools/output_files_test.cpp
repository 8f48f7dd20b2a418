#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "convert/output_files.h"
#include "test_files.h"

namespace {

const char old_runways[] = "OLD1 old runway file\r\n";
const char old_navaids[] = "OLD2 old navaid file\r\n";

/* The folder's names, sorted, without "." and "..". */
std::vector<std::string> names_in(const ScratchFolder &dir)
{
    std::vector<std::string> names;
    for (const std::string &name : file_ops::list_directory(dir.path()))
        if (name != "." && name != "..")
            names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::string> just_the_pair = {"Pnavdata.txt", "Prwydata.txt"};

void put_old_pair(const ScratchFolder &dir)
{
    dir.write("Prwydata.txt", old_runways);
    dir.write("Pnavdata.txt", old_navaids);
}

/* A pair opened in dir with lines of the given sizes written to each. */
void write_pair(OutputPair *pair, const ScratchFolder &dir, long runway_lines, long navaid_lines)
{
    std::string error;
    ASSERT_TRUE(pair->open(dir.path(), true, true, true, &error)) << error;
    for (long i = 0; i < runway_lines; i++)
        pair->runways.write_line("KAAA 16L_ISNQ_11796_110.30_163 " + std::to_string(i));
    for (long i = 0; i < navaid_lines; i++)
        pair->navaids.write_line("SEA SEATTLE VOR 116.80 " + std::to_string(i));
}

/* The id of a process that has ended. */
long dead_process_id()
{
    pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, 0, 0);
    return (long)child;
}

/* Writes beyond bytes fail with EFBIG, as on a full disk, while it lives. */
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
        saved_handler_ = signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, saved_handler_);
    }

private:
    rlimit saved_;
    void (*saved_handler_)(int);
};

TEST(PairCommit, BothNewFilesReplaceTheOldPairAndNothingElseStays)
{
    ScratchFolder dir;
    put_old_pair(dir);
    OutputPair pair;
    write_pair(&pair, dir, 3, 2);
    EXPECT_EQ(names_in(dir).size(), 4u) << "two temporary files beside the old pair";
    std::string error;
    ASSERT_TRUE(pair.commit(&error)) << error;
    EXPECT_EQ(dir.read("Prwydata.txt"), "KAAA 16L_ISNQ_11796_110.30_163 0\r\n"
                                        "KAAA 16L_ISNQ_11796_110.30_163 1\r\n"
                                        "KAAA 16L_ISNQ_11796_110.30_163 2\r\n");
    EXPECT_EQ(dir.read("Pnavdata.txt"), "SEA SEATTLE VOR 116.80 0\r\nSEA SEATTLE VOR 116.80 1\r\n");
    EXPECT_EQ(names_in(dir), just_the_pair);
}

TEST(PairCommit, AFullDiskWhileWritingEitherFileLeavesTheOldPair)
{
    for (bool navaids_too_big : {true, false}) {
        ScratchFolder dir;
        put_old_pair(dir);
        std::string error;
        {
            FileSizeLimit limit(100000);
            OutputPair pair;
            write_pair(&pair, dir, navaids_too_big ? 10 : 20000, navaids_too_big ? 20000 : 10);
            EXPECT_FALSE(pair.commit(&error));
        }
        const char *file = navaids_too_big ? "Pnavdata.txt" : "Prwydata.txt";
        EXPECT_EQ(error.rfind(std::string("nothing written: ") + file + ": cannot write ", 0), 0u)
            << error;
        EXPECT_NE(error.find("File too large"), std::string::npos) << error;
        EXPECT_EQ(dir.read("Prwydata.txt"), old_runways);
        EXPECT_EQ(dir.read("Pnavdata.txt"), old_navaids);
        EXPECT_EQ(names_in(dir), just_the_pair);
    }
}

TEST(PairCommit, AFolderInTheWayOfTheSecondPutsTheFirstOldFileBack)
{
    ScratchFolder dir;
    dir.write("Prwydata.txt", old_runways);
    ASSERT_EQ(mkdir((dir.path() + "/Pnavdata.txt").c_str(), 0755), 0);
    OutputPair pair;
    write_pair(&pair, dir, 5, 5);
    std::string error;
    EXPECT_FALSE(pair.commit(&error));
    EXPECT_EQ(error, "nothing written: " + dir.path() + "/Pnavdata.txt: cannot replace: Is a "
                     "directory; " + dir.path() + "/Prwydata.txt put back as it was");
    EXPECT_EQ(dir.read("Prwydata.txt"), old_runways);
    EXPECT_EQ(names_in(dir), just_the_pair);
}

TEST(PairCommit, WithoutAnOldFirstFileTheNewOneIsTakenOutAgain)
{
    ScratchFolder dir;
    ASSERT_EQ(mkdir((dir.path() + "/Pnavdata.txt").c_str(), 0755), 0);
    OutputPair pair;
    write_pair(&pair, dir, 5, 5);
    std::string error;
    EXPECT_FALSE(pair.commit(&error));
    EXPECT_EQ(error, "nothing written: " + dir.path() + "/Pnavdata.txt: cannot replace: Is a "
                     "directory; " + dir.path() + "/Prwydata.txt taken out again (there was "
                     "none before)");
    EXPECT_EQ(names_in(dir), std::vector<std::string>{"Pnavdata.txt"});
}

TEST(PairCommit, TheFileWithAnOldVersionGoesInFirst)
{
    /* A folder in the way of the runway file: the navaid file, which has an
     * old version to keep aside, goes in first and comes out again. */
    ScratchFolder dir;
    ASSERT_EQ(mkdir((dir.path() + "/Prwydata.txt").c_str(), 0755), 0);
    dir.write("Pnavdata.txt", old_navaids);
    OutputPair pair;
    write_pair(&pair, dir, 5, 5);
    std::string error;
    EXPECT_FALSE(pair.commit(&error));
    EXPECT_EQ(error, "nothing written: " + dir.path() + "/Prwydata.txt: cannot replace: Is a "
                     "directory; " + dir.path() + "/Pnavdata.txt put back as it was");
    EXPECT_EQ(dir.read("Pnavdata.txt"), old_navaids);
    EXPECT_EQ(names_in(dir), just_the_pair);
}

TEST(PairCommit, OneFileAloneAndDiscardedPairsChangeNothingElse)
{
    ScratchFolder dir;
    put_old_pair(dir);
    std::string error;
    {
        OutputPair pair;
        write_pair(&pair, dir, 5, 5);
        pair.discard();
        EXPECT_EQ(names_in(dir), just_the_pair);
        OutputPair dropped; /* never committed: its files go with it */
        write_pair(&dropped, dir, 5, 5);
    }
    EXPECT_EQ(dir.read("Prwydata.txt"), old_runways);
    EXPECT_EQ(dir.read("Pnavdata.txt"), old_navaids);
    EXPECT_EQ(names_in(dir), just_the_pair);

    OutputPair navaids_only;
    ASSERT_TRUE(navaids_only.open(dir.path(), false, false, true, &error)) << error;
    navaids_only.navaids.write_line("SEA SEATTLE VOR 116.80");
    ASSERT_TRUE(navaids_only.commit(&error)) << error;
    EXPECT_EQ(dir.read("Pnavdata.txt"), "SEA SEATTLE VOR 116.80\n");
    EXPECT_EQ(dir.read("Prwydata.txt"), old_runways);
    EXPECT_EQ(names_in(dir), just_the_pair);
}

TEST(TemporaryFiles, NoSymbolicLinkIsEverWrittenThrough)
{
    ScratchFolder dir;
    const std::string victim = dir.write("victim", "not to be written\n");
    const std::string dangling = dir.path() + "/not-to-be-made";
    for (const char *name : {"Prwydata.txt.partial", "Pnavdata.txt.partial", "Prwydata.txt"})
        ASSERT_EQ(symlink(victim.c_str(), (dir.path() + "/" + name).c_str()), 0);

    /* Whatever name a run picks, a link there makes the creation fail. */
    file_ops::RawFile file;
    EXPECT_EQ(file.create_exclusive(dir.path() + "/Prwydata.txt.partial"),
              file_ops::RawFile::Created::exists);
    ASSERT_EQ(symlink(dangling.c_str(), (dir.path() + "/Pnavdata.txt.1-abcdef.partial").c_str()),
              0);
    EXPECT_EQ(file.create_exclusive(dir.path() + "/Pnavdata.txt.1-abcdef.partial"),
              file_ops::RawFile::Created::exists);

    OutputPair pair;
    write_pair(&pair, dir, 1, 1);
    std::string error;
    ASSERT_TRUE(pair.commit(&error)) << error;
    EXPECT_EQ(dir.read("victim"), "not to be written\n");
    EXPECT_EQ(access(dangling.c_str(), F_OK), -1);
    struct stat st;
    ASSERT_EQ(lstat((dir.path() + "/Prwydata.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode)) << "the link at the final name is replaced, not followed";
    ASSERT_EQ(lstat((dir.path() + "/Prwydata.txt.partial").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(Leftovers, ThoseOfEndedRunsAreClearedOthersAreLeft)
{
    ScratchFolder dir;
    put_old_pair(dir);
    const std::string dead = std::to_string(dead_process_id());
    const std::string live = std::to_string((long)getppid());
    const std::string self = std::to_string((long)getpid());
    dir.write("Prwydata.txt." + dead + "-abc123.partial", "half");
    dir.write("Pnavdata.txt." + dead + "-abc123.partial", "half");
    const std::vector<std::string> kept = {
        "Pnavdata.txt." + dead + "-ABC123.partial", /* not a name of ours */
        "Pnavdata.txt." + live + "-abc123.partial", /* a run in progress */
        "Prwydata.txt." + self + "-abc123.partial", /* this process's own */
        "Prwydata.txt.bak",
        "Prwydata.txt.partial",
    };
    for (const std::string &name : kept)
        dir.write(name, "keep");
    ASSERT_EQ(mkdir((dir.path() + "/Prwydata.txt." + dead + "-zzzzzz.partial").c_str(), 0755), 0);

    EXPECT_EQ(OutputPair::clean_leftovers(dir.path()), 2);
    std::vector<std::string> expected = kept;
    expected.push_back("Prwydata.txt." + dead + "-zzzzzz.partial");
    expected.insert(expected.end(), just_the_pair.begin(), just_the_pair.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names_in(dir), expected);
    EXPECT_EQ(dir.read("Prwydata.txt"), old_runways);
}

TEST(Leftovers, ARunKilledBetweenItsRenamesHasTheOldPairRestored)
{
    /* Killed at each step of the commit: the pair the next run finds. */
    struct Case {
        const char *step;
        bool runway_renamed, navaid_renamed, old_kept;
        const char *runways_after, *navaids_after;
    } cases[] = {
        {"before the old file was kept aside", false, false, false, old_runways, old_navaids},
        {"with the old file kept aside", false, false, true, old_runways, old_navaids},
        {"between the renames", true, false, true, old_runways, old_navaids},
        {"after both renames", true, true, true, "NEW1\r\n", "NEW2\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.step);
        ScratchFolder dir;
        const std::string run = std::to_string(dead_process_id()) + "-k1ll3d";
        dir.write("Prwydata.txt", c.runway_renamed ? "NEW1\r\n" : old_runways);
        dir.write("Pnavdata.txt", c.navaid_renamed ? "NEW2\r\n" : old_navaids);
        if (!c.runway_renamed)
            dir.write("Prwydata.txt." + run + ".partial", "NEW1\r\n");
        if (!c.navaid_renamed)
            dir.write("Pnavdata.txt." + run + ".partial", "NEW2\r\n");
        if (c.old_kept)
            dir.write("Prwydata.txt." + run + ".old", old_runways);

        std::string error;
        OutputPair next; /* opening clears the leftovers */
        ASSERT_TRUE(next.open(dir.path(), true, true, true, &error)) << error;
        next.discard();
        EXPECT_EQ(dir.read("Prwydata.txt"), c.runways_after);
        EXPECT_EQ(dir.read("Pnavdata.txt"), c.navaids_after);
        EXPECT_EQ(names_in(dir), just_the_pair);
    }
}

TEST(Interruption, SigtermRemovesTheTemporaryFilesAndEndsTheRun)
{
    ScratchFolder dir;
    put_old_pair(dir);
    pid_t child = fork();
    if (child == 0) {
        OutputPair pair;
        std::string error;
        if (!pair.open(dir.path(), true, true, true, &error))
            _exit(3);
        pair.runways.write_line("KAAA");
        raise(SIGTERM);
        _exit(4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(names_in(dir), just_the_pair);
    EXPECT_EQ(dir.read("Prwydata.txt"), old_runways);
}

}  // namespace
