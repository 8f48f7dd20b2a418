/*
 * The framing of a sectioned BGL file: header, section pointers, subsection
 * tables and the run of records in each subsection.  Every range is checked
 * against the file's size before it is read, and the reader never reads more
 * bytes in all than the file holds (overlapping or repeated tables cannot
 * make it read a file over and over), so its work and memory are bounded by
 * the file.
 */
#include <stdio.h>
#include <string.h>

#include "bgl.h"
#include "bgl_layout.h"
#include "bgl_records.h"

using namespace bgl;

namespace {

/* A section's subsections are read one at a time; a bigger one than this is
 * no navigation data (a whole airport file is a few megabytes). */
const unsigned long long subsection_room = 64ull << 20;
const unsigned long section_room = 4096;

struct Reader {
    BglBytes &bytes;
    BglFile *file;
    unsigned long long size;
    AirportNames names;
    std::vector<unsigned char> buffer;
    bool failed = false;      /* a read the size promised did not come */
    unsigned long long budget = 0; /* bytes of tables and records read */

    Reader(BglBytes &b, BglFile *f) : bytes(b), file(f), size(b.size()) {}

    void problem(unsigned long long offset, const std::string &what)
    {
        add_problem(file, (long)offset, what);
    }

    /* Reads [offset, offset + n) into buffer, which the caller has checked
     * lies inside the file; false (with a problem) when the bytes are not
     * there after all, or when tables and records as many as the file's own
     * size have been read already (counted: tables and records). */
    bool read(unsigned long long offset, unsigned long long n, bool counted = true)
    {
        if (failed)
            return false;
        if (counted && budget + n > size) {
            problem(offset, "tables or records overlap ones already read: the rest of the file not read");
            failed = true;
            return false;
        }
        buffer.resize((size_t)n);
        if (n && !bytes.read_at(offset, buffer.data(), (size_t)n)) {
            problem(offset, "cannot read " + std::to_string(n) + " bytes here: the rest of the file not read");
            failed = true;
            return false;
        }
        file->bytes_read += n;
        if (counted)
            budget += n;
        return true;
    }

    void read_sections();
    void read_section(const unsigned char *pointer, unsigned long long at);
    void read_records(uint32_t type, unsigned long long at, unsigned long long n, uint32_t count);
};

bool wanted(uint32_t type)
{
    return type == section_airports || type == section_vor_ils || type == section_ndbs ||
           type == section_markers || type == section_name_list;
}

}  // namespace

void Reader::read_sections()
{
    unsigned char header[header_size];
    size_t head = size < header_size ? (size_t)size : (size_t)header_size;
    if (size < 4 || !bytes.read_at(0, header, head)) {
        file->kind = size < 4 ? BglKind::not_bgl : BglKind::unreadable;
        problem(0, size < 4 ? "too short for a BGL file (" + std::to_string(size) + " bytes)"
                            : "cannot read its header");
        return;
    }
    file->bytes_read += head;
    if (get32(header + header_magic) != file_magic) {
        /* The older files begin with binary header words; text is no BGL. */
        bool text = true;
        for (int i = 0; i < 4; i++)
            text = text && ((header[i] >= 0x20 && header[i] < 0x7F) || header[i] == '\t' ||
                            header[i] == '\r' || header[i] == '\n');
        file->kind = text ? BglKind::not_bgl : BglKind::older_format;
        if (text)
            problem(0, "text, not a BGL file");
        return;
    }
    if (size < header_size) {
        file->kind = BglKind::not_bgl;
        problem(0, "truncated: " + std::to_string(size) + " bytes, under the " +
                       std::to_string((int)header_size) + " of the header");
        return;
    }
    file->kind = BglKind::sectioned;
    if (get32(header + header_second_magic) != second_magic)
        problem(header_second_magic, "second header word is " +
                                         hex(get32(header + header_second_magic)) + ", not " +
                                         hex(second_magic) + ": read on");

    unsigned long long count = get32(header + header_section_count);
    unsigned long long fits = (size - header_size) / section_pointer_size;
    if (count > fits || count > section_room) {
        unsigned long long kept = fits < section_room ? fits : section_room;
        problem(header_section_count, "says " + std::to_string(count) + " sections; " +
                                          std::to_string(kept) + " pointers read");
        count = kept;
    }
    /* The pointers are read once, whatever the count (at most section_room
     * of them): they are not held to the budget, which a count too large
     * would otherwise spend on bytes that are no pointers. */
    if (!read(header_size, count * section_pointer_size, false))
        return;
    std::vector<unsigned char> pointers(buffer);
    for (unsigned long long i = 0; i < count && !failed; i++)
        read_section(pointers.data() + i * section_pointer_size,
                     header_size + i * section_pointer_size);
}

void Reader::read_section(const unsigned char *pointer, unsigned long long at)
{
    uint32_t type = get32(pointer + section_type);
    if (type == section_later)
        file->later_records++;
    if (!wanted(type)) {
        file->sections_skipped++;
        return;
    }
    unsigned entry = subsection_entry_size(get32(pointer + section_flags));
    unsigned long long count = get32(pointer + section_subsection_count);
    unsigned long long table = get32(pointer + section_table_offset);
    unsigned long long table_size = get32(pointer + section_table_size);
    std::string what = "section " + hex(type);
    if (table_size != count * entry) {
        unsigned long long kept = count * entry < table_size ? count : table_size / entry;
        problem(at, what + ": " + std::to_string(count) + " subsections of " +
                        std::to_string(entry) + " bytes in a table of " +
                        std::to_string(table_size) + ": " + std::to_string(kept) + " read");
        count = kept;
    }
    if (table >= size || count * entry > size - table) {
        unsigned long long kept = table >= size ? 0 : (size - table) / entry;
        problem(at, what + ": subsection table at " + std::to_string(table) +
                        " runs past the end of the file: " + std::to_string(kept) +
                        " subsections read");
        count = kept;
    }
    if (count * entry > subsection_room) {
        /* A damaged pointer in a large file of other scenery must not
         * have the file's whole size taken as a table (twice). */
        problem(at, what + ": a table of " + std::to_string(count) +
                        " subsections, too large for this section: not read");
        return;
    }
    if (count == 0 || !read(table, count * entry))
        return;
    std::vector<unsigned char> entries(buffer);
    for (unsigned long long i = 0; i < count && !failed; i++) {
        const unsigned char *e = entries.data() + i * entry;
        unsigned long long entry_at = table + i * entry;
        uint32_t records = get32(e + subsection_record_count);
        unsigned long long start = get32(e + subsection_records_offset);
        unsigned long long n = get32(e + subsection_records_size);
        if (start >= size || n > size - start) {
            problem(entry_at, what + ": subsection at " + std::to_string(start) + " of " +
                                  std::to_string(n) + " bytes runs past the end of the file" +
                                  (start >= size ? ": not read" : ": what is there read"));
            if (start >= size)
                continue;
            n = size - start;
        }
        if (type == section_markers) {
            /* Counted only: their bytes are not needed. */
            if (n != (unsigned long long)records * marker_size)
                problem(entry_at, what + ": " + std::to_string(records) + " markers in " +
                                      std::to_string(n) + " bytes");
            file->markers += (long)(n / marker_size < records ? n / marker_size : records);
            continue;
        }
        if (n > subsection_room) {
            problem(entry_at, what + ": subsection of " + std::to_string(n) +
                                  " bytes, too large for its records: not read");
            continue;
        }
        if (read(start, n))
            read_records(type, start, n, records);
    }
}

/* Walks one subsection's records (in buffer) by their own sizes. */
void Reader::read_records(uint32_t type, unsigned long long at, unsigned long long n,
                          uint32_t count)
{
    const unsigned char *p = buffer.data();
    std::string what = "section " + hex(type);
    if (type == section_name_list) {
        /* One record whose size field is 0: it spans its subsection. */
        decode_name_list(p, (size_t)n, (long)at, file, &names);
        return;
    }
    unsigned long long pos = 0, walked = 0;
    while (pos < n) {
        unsigned long long here = at + pos;
        if (n - pos < record_header_size) {
            problem(here, what + ": " + std::to_string(n - pos) +
                              " bytes left, too few for a record: the rest not read");
            break;
        }
        uint16_t id = get16(p + pos);
        uint32_t record = get32(p + pos + record_size);
        if (record < record_header_size || record > n - pos) {
            problem(here, what + ": record " + hex(id) + " of size " + std::to_string(record) +
                              (record < record_header_size ? "" : ", past its subsection's end") +
                              ": the rest of the subsection not read");
            break;
        }
        const unsigned char *r = p + pos;
        if (id == id_airport_later || id == id_later_record)
            file->later_records++;
        else if (type == section_airports) {
            if (id == id_airport_fs2004 || id == id_airport_fsx)
                decode_airport(r, record, (long)here, file);
        } else if (type == section_vor_ils && id == id_vor_ils)
            decode_vor_ils(r, record, (long)here, file);
        else if (type == section_ndbs && id == id_ndb)
            decode_ndb(r, record, (long)here, file);
        pos += record;
        walked++;
    }
    if (walked != count && pos >= n)
        problem(at, what + ": subsection says " + std::to_string(count) + " records, holds " +
                        std::to_string(walked));
}

void read_bgl(BglBytes &bytes, BglFile *file)
{
    *file = BglFile();
    Reader reader(bytes, file);
    reader.read_sections();
    if (reader.names.empty())
        return;
    for (BglAirport &a : file->airports)
        if (a.name.empty()) {
            AirportNames::const_iterator found = reader.names.find(a.ident);
            if (found != reader.names.end())
                a.name = found->second;
        }
}
