/*
 * The reader on arbitrary bytes: every read of facility_next_line and
 * facility_read_line must be the model's, for any mix of CR, LF, Ctrl-Z and
 * zero bytes, any read limit, and lines across the refills of the block.
 *
 * Input: one byte of options (the read limit; whether a filler of about a
 * block goes first, so that the rest straddles a refill), then the file.
 */
#include <stdint.h>
#include <stdio.h>

#include "reference.h"
#include "selection/facility_file.h"

static const int limits[] = {2, 3, 8, 100, line_limit - 1, line_limit, line_limit + 1, 4096,
                             (int)facility_block_room};

static FacilityFile file;

static void open_bytes(const std::string &bytes)
{
    file.stream = bytes.empty() ? fopen("/dev/null", "rb")
                                : fmemopen((void *)bytes.data(), bytes.size(), "rb");
    FUZZ_CHECK(file.stream);
    file.pos = file.len = 0;
    file.at_end = false;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int limit = limits[data[0] % (sizeof limits / sizeof *limits)];
    std::string bytes;
    if (data[0] & 0x80) {
        /* Short lines up to just before the first refill, give or take. */
        size_t filler = facility_block_room - 1200 + (size_t)(data[0] & 0x70) * 20;
        for (size_t i = 0; bytes.size() < filler; i++)
            bytes += i % 7 == 6 ? "\r\n" : "KSEA X\n";
        bytes.resize(filler);
    }
    bytes.append((const char *)data + 1, size - 1);
    const std::vector<std::string> expected = reference::lines(bytes, limit);

    open_bytes(bytes);
    FacilityLine line;
    size_t n = 0;
    while (facility_next_line(&file, &line, limit)) {
        FUZZ_CHECK(n < expected.size());
        FUZZ_CHECK(std::string(line.text, line.length) == expected[n]);
        n++;
    }
    FUZZ_CHECK(n == expected.size());
    FUZZ_CHECK(line.length == 0);
    facility_close(&file);

    /* The copying reader: the same reads, each terminated. */
    open_bytes(bytes);
    static char buffer[facility_block_room + 1];
    n = 0;
    while (facility_read_line(&file, buffer, limit)) {
        FUZZ_CHECK(n < expected.size());
        FUZZ_CHECK(memcmp(buffer, expected[n].data(), expected[n].size()) == 0);
        FUZZ_CHECK(buffer[expected[n].size()] == 0);
        n++;
    }
    FUZZ_CHECK(n == expected.size());
    FUZZ_CHECK(buffer[0] == 0);
    facility_close(&file);
    return 0;
}
