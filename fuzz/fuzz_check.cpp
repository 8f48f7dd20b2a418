/*
 * The data-file checker on arbitrary bytes: it must never fail, must count
 * the lines the module reads, and must send its findings in line order,
 * each on a line of the file (a Ctrl-Z may sit at the start of the line
 * after the last), each with a reason, a Ctrl-Z reported when bytes follow
 * it, the capped count agreeing with the full one.
 *
 * Input: one byte of options (bit 0: a navaid file rather than a runway
 * file), then the file.
 */
#include <stdint.h>
#include <stdio.h>

#include <string>

#include "reference.h"
#include "check/check.h"

namespace {

class OrderedFindings : public FindingSink {
public:
    void finding(const Finding &f) override
    {
        FUZZ_CHECK(f.line >= 1 && f.line >= last);
        FUZZ_CHECK(!f.reason.empty());
        FUZZ_CHECK((int)f.kind >= 0 && (int)f.kind < (int)FindingKind::count);
        last = f.line;
        count++;
        if (f.kind == FindingKind::ctrl_z)
            ctrl_z++;
    }
    long last = 0;
    long count = 0;
    long ctrl_z = 0;
};

/* Lines as the module reads them: LF-ended, up to the first Ctrl-Z, and a
 * last line without LF when anything follows the last LF. */
long model_lines(const std::string &bytes)
{
    size_t end = bytes.find('\x1a');
    if (end == std::string::npos)
        end = bytes.size();
    long lines = 0;
    for (size_t i = 0; i < end; i++)
        if (bytes[i] == '\n')
            lines++;
    if (end > 0 && bytes[end - 1] != '\n')
        lines++;
    return lines;
}

/* A regular file, as the checker meets data files (its size known, so a
 * Ctrl-Z is looked for again). */
FILE *open_bytes(const std::string &bytes)
{
    FILE *f = tmpfile();
    FUZZ_CHECK(f);
    FUZZ_CHECK(fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    FUZZ_CHECK(fflush(f) == 0);
    rewind(f);
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const DataKind kind = data[0] & 1 ? DataKind::navaids : DataKind::runways;
    const std::string bytes((const char *)data + 1, size - 1);

    FILE *stream = open_bytes(bytes);
    FUZZ_CHECK(stream);
    OrderedFindings all;
    CheckSummary summary;
    std::string error;
    FUZZ_CHECK(check_data_stream(stream, kind, &all, &summary, &error));
    fclose(stream);
    FUZZ_CHECK(summary.lines == model_lines(bytes));
    FUZZ_CHECK(all.last <= summary.lines + 1);
    /* A Ctrl-Z is reported when something follows it, once. */
    const size_t z = bytes.find('\x1a');
    FUZZ_CHECK(all.ctrl_z == (z != std::string::npos && z + 1 < bytes.size() ? 1 : 0));

    /* The same file through the cap: as many findings counted, fewer passed. */
    stream = open_bytes(bytes);
    FUZZ_CHECK(stream);
    OrderedFindings passed;
    CappedSink capped(&passed, 2);
    CheckSummary again;
    FUZZ_CHECK(check_data_stream(stream, kind, &capped, &again, &error));
    fclose(stream);
    FUZZ_CHECK(capped.total() == all.count);
    long held = 0;
    for (int k = 0; k < (int)FindingKind::count; k++)
        held += capped.held_back((FindingKind)k);
    FUZZ_CHECK(passed.count + held == all.count);
    return 0;
}
