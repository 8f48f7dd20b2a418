/* The checker's peak memory on a big file: it reads as it reports, so its
 * memory must not grow with the file.  The file (80 MB of runway lines, half
 * of them with findings, every code different) is generated into the build
 * folder; the checker measured is built without sanitizers, as it ships. */
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

const long long file_mb = 80;
const long peak_limit_kb = 64 * 1024;

bool write_big_runway_file(const std::string &path, long long bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    char line[200];
    long long written = 0;
    for (long i = 0; written < bytes; i++) {
        /* On every other line a name in lower case and a localizer outside
         * its band, a lower-case code now and then: many findings of a few
         * kinds, far past the cap. */
        int n = snprintf(line, sizeof line,
                         "%c%07ld %s_%ld 16L_I%03ld_11796_%s_163 34R_-_11796_0_343 "
                         "16R_-_9000_0_163\r\n",
                         i % 500 ? 'K' : 'k', i, i % 2 ? "Airport" : "AIRPORT", i, i % 1000,
                         i % 2 ? "112.30" : "110.30");
        fwrite(line, 1, (size_t)n, f);
        written += n;
    }
    return fclose(f) == 0;
}

TEST(CheckMemory, PeakOnAGenerated80MbFile)
{
    const std::string path = std::string(PELMORA_TOOL_SCRATCH) + "/check-memory-Prwydata.txt";
    ASSERT_TRUE(write_big_runway_file(path, file_mb << 20));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FILE *quiet = freopen("/dev/null", "w", stdout);
        (void)quiet;
        execl(PELMORA_PLAIN_CHECK, PELMORA_PLAIN_CHECK, "--runways", path.c_str(), (char *)0);
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    ASSERT_EQ(wait4(child, &status, 0, &usage), child);
    remove(path.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);      /* findings */
    printf("pelmora-check on %lld MB: peak resident memory %ld kB\n", file_mb,
           (long)usage.ru_maxrss);
    EXPECT_LT(usage.ru_maxrss, peak_limit_kb);
}

}  // namespace
