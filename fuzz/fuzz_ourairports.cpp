/*
 * The OurAirports reader on arbitrary bytes: the CSV rows, the named
 * columns, the airport types, surfaces and runway ends, nothing overrun.
 *
 * Input: airports.csv, runways.csv and navaids.csv joined by zero bytes;
 * missing parts are empty files.
 */
#include <string.h>

#include "sources/csv_reader.h"
#include "fuzz_convert_input.h"
#include "sources/ourairports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const names[] = {"airports.csv", "runways.csv", "navaids.csv"};
    size_t start = 0;
    for (int part = 0; part < 3; part++) {
        const uint8_t *zero =
            start < size ? (const uint8_t *)memchr(data + start, 0, size - start) : nullptr;
        size_t end = zero ? (size_t)(zero - data) : size;
        write_input(names[part], data + start, end > start ? end - start : 0);
        start = end < size ? end + 1 : size;
    }
    QuietConversion c;
    ReadOutcome outcome;
    read_ourairports(".", true, c.converter, c.report, &outcome);
    c.converter.finish(true);
    c.converter.empty_result(true, true);

    /* The row builder alone, line by line: a record never holds more than
     * its room. */
    CsvRecordBuilder b;
    size_t line_start = 0;
    for (size_t i = 0; i <= size; i++) {
        if (i < size && data[i] != '\n')
            continue;
        if (b.add_line(std::string_view((const char *)data + line_start, i - line_start))) {
            size_t bytes = 0;
            for (const std::string &f : b.fields())
                bytes += f.size();
            if (bytes > CsvRecordBuilder::record_room)
                abort();
        }
        if (b.overflowed())
            break;
        line_start = i + 1;
    }
    return 0;
}
