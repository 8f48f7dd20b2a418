/* Helpers of the unit tests: a scratch folder that is the current directory,
 * data files written into it, a list that stands in for a dialog control,
 * and a host that records key events. */
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

#include "module/imports.h"
#include "selection/searches.h"
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

/* Records the key events the module sends, while a test runs. */
class RecordingHost {
public:
    RecordingHost()
    {
        services_.send_key_event = record;
        saved_ = ImportTable.entries[0].services;
        ImportTable.entries[0].services = &services_;
        current_ = this;
    }
    ~RecordingHost()
    {
        ImportTable.entries[0].services = saved_;
        current_ = nullptr;
    }
    std::vector<std::pair<uint32_t, uint32_t>> events;

private:
    static uint32_t HOSTCALL record(uint32_t id, uint32_t value)
    {
        current_->events.emplace_back(id, value);
        return 1;
    }
    HostServices services_ = {};
    HostServices *saved_;
    static inline RecordingHost *current_ = nullptr;
};

typedef std::vector<std::pair<uint32_t, uint32_t>> Events;

#endif
