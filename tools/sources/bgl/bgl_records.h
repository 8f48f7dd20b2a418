/*
 * The record decoders of the BGL reader: each takes one whole record (its
 * bytes lie inside its subsection, its size already checked against it) and
 * adds what it holds to the file's lists, or a problem when it is not
 * plausible.  offset is the record's place in the file, for messages.
 */
#ifndef PELMORA_TOOLS_BGL_RECORDS_H
#define PELMORA_TOOLS_BGL_RECORDS_H

#include <map>

#include "bgl.h"

namespace bgl {

void decode_airport(const unsigned char *record, size_t size, long offset, BglFile *file);
void decode_vor_ils(const unsigned char *record, size_t size, long offset, BglFile *file);
void decode_ndb(const unsigned char *record, size_t size, long offset, BglFile *file);

/* Airport names of a name list, by airport identifier. */
typedef std::map<std::string, std::string> AirportNames;
void decode_name_list(const unsigned char *record, size_t size, long offset, BglFile *file,
                      AirportNames *names);

void add_problem(BglFile *file, long offset, const std::string &what);

}  // namespace bgl

#endif
