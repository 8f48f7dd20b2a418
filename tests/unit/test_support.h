/* Helpers of the unit tests: a scratch folder that is the current directory,
 * data files written into it, a list that stands in for a dialog control,
 * and a sink that records key events. */
#ifndef PELMORA_TEST_SUPPORT_H
#define PELMORA_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "selection/searches.h"
#include "selection/tuning.h"
#include "tests/array_list.h"

/* Runs each test in a fresh folder, so data files are found by bare name. */
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/pelmora-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previous_ = here;
        ASSERT_EQ(chdir(folder_.c_str()), 0);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(previous_.c_str()), 0);
        std::string command = "rm -rf '" + folder_ + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }
    static void write_file(const char *name, const std::string &bytes)
    {
        FILE *f = fopen(name, "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        fclose(f);
    }

private:
    std::string folder_, previous_;
};

typedef std::vector<std::pair<uint32_t, uint32_t>> Events;

/* Records the key events that the tuning and the presets send. */
class RecordingKeys : public KeyEventSink {
public:
    void send(uint32_t id, uint32_t value) override { events.emplace_back(id, value); }
    Events events;
};

#endif
