/*
 * The record decoders of the BGL reader: each takes one whole record (its
 * bytes lie inside its subsection, its size already checked against it) and
 * adds what it holds to the file's lists, or a problem when it is not
 * plausible.  offset is the record's place in the file, for messages.
 */
#ifndef PELMORA_TOOLS_BGL_RECORDS_H
#define PELMORA_TOOLS_BGL_RECORDS_H

#include <map>
#include <string>

#include "bgl.h"
#include "bgl_layout.h"

namespace bgl {

void decode_airport(const unsigned char *record, size_t size, long offset, BglFile *file);
void decode_vor_ils(const unsigned char *record, size_t size, long offset, BglFile *file);
void decode_ndb(const unsigned char *record, size_t size, long offset, BglFile *file);

/* Airport names of a name list, by airport identifier. */
typedef std::map<std::string, std::string> AirportNames;
void decode_name_list(const unsigned char *record, size_t size, long offset, BglFile *file,
                      AirportNames *names);

void add_problem(BglFile *file, long offset, const std::string &what);

/* ---- Checks and decodings shared by the records ---- */
bool place_ok(uint32_t latitude, uint32_t longitude);   /* as stored: inside the limits */
bool ident_ok(const std::string &ident);                 /* not empty, no invalid code */
bool heading_ok(float heading);                          /* 0-360 */
double metres_of_mm(const unsigned char *p);
std::string hex(unsigned long value);
/* The stored variation, or 0 (reported) when it is no angle at all. */
double variation_of(const unsigned char *p, const std::string &what, long offset, BglFile *file);
/* A name subrecord's text: from +6 to the first NUL or the subrecord's end
 * (names are padded with NULs to a multiple of 4 and may fill it). */
std::string name_of(const unsigned char *sub, size_t size);

/* Calls take(id, subrecord, size, offset) for each subrecord from `from` to
 * `size`; a size that is under a header or runs past the parent stops the
 * walk with a problem (false). */
template <class Take>
bool walk(const unsigned char *record, size_t from, size_t size, long offset,
          const std::string &parent, BglFile *file, Take take)
{
    size_t at = from;
    while (at < size) {
        long here = offset + (long)at;
        if (size - at < record_header_size) {
            add_problem(file, here, parent + ": " + std::to_string(size - at) +
                                        " bytes left, too few for a subrecord: the rest not read");
            return false;
        }
        uint16_t id = get16(record + at);
        uint32_t sub = get32(record + at + record_size);
        if (sub < record_header_size || sub > size - at) {
            add_problem(file, here, parent + ": subrecord " + hex(id) + " of size " +
                                        std::to_string(sub) +
                                        (sub < record_header_size ? "" : ", past its record's end") +
                                        ": the rest not read");
            return false;
        }
        take(id, record + at, (size_t)sub, here);
        at += sub;
    }
    return true;
}

}  // namespace bgl

#endif
