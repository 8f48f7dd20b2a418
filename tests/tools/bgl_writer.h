/*
 * Sectioned BGL files made in memory, for the tests, the fixture scenery
 * trees and the benchmark's synthetic scenery.  The records are given as the
 * reader's own structs, so a test writes what it expects to read back:
 *
 *     BglWriter w;
 *     BglAirport a;  a.ident = "KSEA";  a.fsx_form = true;  ...
 *     w.add_airport(a);
 *     w.add_vor_ils(ils);  w.add_ndb(ndb);  w.add_markers(3);
 *     w.add_objects(1 << 20);              // a section the reader must skip
 *     std::string file = w.bytes();        // the whole file; w.layout() says where things went
 *
 * Sections come out in the order airports (0x03), VOR/ILS (0x13), NDBs
 * (0x17), markers (0x18), name list (0x27), then those added with
 * add_objects / add_section in the order added.  Only sections with records
 * are written.  A test damages a file by patching the bytes at the offsets
 * layout() gives (bgl_put32).
 *
 * What each struct field becomes:
 *   BglAirport: fsx_form picks record 0x3C (56-byte fixed part) or 0x03 (52);
 *     name "" writes no name subrecord (or, with names_in_name_list, puts it in
 *     a name list section); helipads writes that many helipad subrecords;
 *     each deletion a DeleteAirport subrecord listing its runways.
 *   BglRunway: every field; primary_ils / secondary_ils unshifted.
 *   BglVorIls: every field, flags as given (set bit 0 for anything but a
 *     DME-only station); has_localizer, has_glide_slope, has_dme add those
 *     subrecords; a non-empty name a name subrecord.
 *   BglNdb: every field, frequency as stored.
 *   The offset fields are ignored.
 */
#ifndef PELMORA_TESTS_TOOLS_BGL_WRITER_H
#define PELMORA_TESTS_TOOLS_BGL_WRITER_H

#include <math.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "sources/bgl/bgl.h"
#include "sources/bgl/bgl_layout.h"

/* ---- Little-endian values into a byte string ---- */

inline void bgl_put8(std::string *bytes, size_t at, unsigned value) { (*bytes)[at] = (char)value; }
inline void bgl_put16(std::string *bytes, size_t at, unsigned value)
{
    (*bytes)[at] = (char)(value & 0xFF);
    (*bytes)[at + 1] = (char)((value >> 8) & 0xFF);
}
inline void bgl_put32(std::string *bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        (*bytes)[at + i] = (char)((value >> (8 * i)) & 0xFF);
}
inline void bgl_putf(std::string *bytes, size_t at, float value)
{
    uint32_t bits;
    memcpy(&bits, &value, sizeof bits);
    bgl_put32(bytes, at, bits);
}
inline uint32_t bgl_get32(const std::string &bytes, size_t at)
{
    return bgl::get32((const unsigned char *)bytes.data() + at);
}

/* ---- Encodings (the reader's decodings inverted) ---- */

inline uint32_t bgl_encode_latitude(double latitude)
{
    return (uint32_t)llround((90.0 - latitude) * (2.0 * (1u << 28)) / 180.0);
}
inline uint32_t bgl_encode_longitude(double longitude)
{
    return (uint32_t)llround((longitude + 180.0) * (3.0 * (1u << 28)) / 360.0);
}
inline uint32_t bgl_encode_mm(double metres) { return (uint32_t)(int32_t)llround(metres * 1000.0); }
/* The packed region (bits 0-10) and airport (11-31) of VOR/ILS and NDB records. */
inline uint32_t bgl_encode_region_airport(const std::string &region, const std::string &airport)
{
    return (bgl_pack_ident(region) & 0x7FF) | bgl_pack_ident(airport) << 11;
}

/* ---- Records, one at a time (a test may damage one before adding it raw) ---- */

/* A record or subrecord: id, its size (set when finished), then the body. */
class BglRecordBytes {
public:
    explicit BglRecordBytes(unsigned id, size_t fixed)
        : bytes_(fixed, '\0')
    {
        bgl_put16(&bytes_, bgl::record_id, id);
    }
    std::string &bytes() { return bytes_; }
    void append(const std::string &sub) { bytes_ += sub; }
    std::string finish()
    {
        bgl_put32(&bytes_, bgl::record_size, (uint32_t)bytes_.size());
        return bytes_;
    }

private:
    std::string bytes_;
};

/* A name subrecord: the text NUL-padded to a multiple of 4 (no terminator
 * when the text fills it, as the compiler writes them). */
inline std::string bgl_name_subrecord(const std::string &name)
{
    BglRecordBytes r(bgl::id_name, bgl::record_header_size);
    std::string text = name;
    while (text.size() % 4)
        text += '\0';
    r.append(text);
    return r.finish();
}

inline std::string bgl_runway_subrecord(const BglRunway &w, bool with_threshold = false)
{
    using namespace bgl;
    BglRecordBytes r(id_runway, runway_fixed);
    std::string &b = r.bytes();
    bgl_put16(&b, runway_surface, (unsigned)w.surface);
    bgl_put8(&b, runway_primary_number, (unsigned)w.primary_number);
    bgl_put8(&b, runway_primary_designator, (unsigned)w.primary_designator);
    bgl_put8(&b, runway_secondary_number, (unsigned)w.secondary_number);
    bgl_put8(&b, runway_secondary_designator, (unsigned)w.secondary_designator);
    bgl_put32(&b, runway_primary_ils, bgl_pack_ident(w.primary_ils));
    bgl_put32(&b, runway_secondary_ils, bgl_pack_ident(w.secondary_ils));
    bgl_put32(&b, runway_longitude, bgl_encode_longitude(w.longitude));
    bgl_put32(&b, runway_latitude, bgl_encode_latitude(w.latitude));
    bgl_put32(&b, runway_elevation, bgl_encode_mm(w.elevation_m));
    bgl_putf(&b, runway_length, (float)w.length_m);
    bgl_putf(&b, runway_width, (float)w.width_m);
    bgl_putf(&b, runway_heading, (float)w.heading);
    bgl_putf(&b, runway_pattern_altitude, 300.0f);
    bgl_put16(&b, runway_markings, 0xFF | (w.primary_closed ? marking_primary_closed : 0) |
                                       (w.secondary_closed ? marking_secondary_closed : 0));
    if (with_threshold) {
        /* An offset threshold of the primary end: a sub-subrecord the
         * reader passes over. */
        BglRecordBytes t(0x0005, 0x10);
        bgl_put16(&t.bytes(), 6, (unsigned)w.surface);
        bgl_putf(&t.bytes(), 8, 150.0f);
        bgl_putf(&t.bytes(), 12, (float)w.width_m);
        r.append(t.finish());
    }
    return r.finish();
}

inline std::string bgl_deletion_subrecord(const BglDeletion &d)
{
    using namespace bgl;
    BglRecordBytes r(id_delete_airport, delete_entries);
    std::string &b = r.bytes();
    bgl_put16(&b, delete_flags, d.flags);
    bgl_put8(&b, delete_runway_count, (unsigned)d.runways.size());
    for (const BglDeletion::Runway &w : d.runways) {
        std::string e(delete_entry_size, '\0');
        bgl_put8(&e, 0, 4);
        bgl_put8(&e, 1, (unsigned)w.primary_number);
        bgl_put8(&e, 2, (unsigned)w.secondary_number);
        bgl_put8(&e, 3, (unsigned)(w.primary_designator & 0x0F) |
                            (unsigned)(w.secondary_designator & 0x0F) << 4);
        r.append(e);
    }
    return r.finish();
}

struct BglAirportOptions {
    bool name_subrecord = true;   /* false: the name goes elsewhere (a name list) */
    int coms = 0;                 /* COM subrecords, passed over by the reader */
    bool runway_thresholds = false;
};

inline std::string bgl_airport_record(const BglAirport &a, const BglAirportOptions &o = {})
{
    using namespace bgl;
    BglRecordBytes r(a.fsx_form ? id_airport_fsx : id_airport_fs2004,
                     a.fsx_form ? airport_fixed_fsx : airport_fixed_fs2004);
    std::string &b = r.bytes();
    bgl_put8(&b, airport_runway_count, (unsigned)a.runways.size());
    bgl_put8(&b, airport_com_count, (unsigned)o.coms);
    bgl_put8(&b, airport_apron_count, a.deletions.empty() ? 0 : 0x80);
    bgl_put8(&b, airport_helipad_count, (unsigned)a.helipads);
    bgl_put32(&b, airport_longitude, bgl_encode_longitude(a.longitude));
    bgl_put32(&b, airport_latitude, bgl_encode_latitude(a.latitude));
    bgl_put32(&b, airport_altitude, bgl_encode_mm(a.elevation_m));
    bgl_put32(&b, airport_tower_longitude, bgl_encode_longitude(a.longitude));
    bgl_put32(&b, airport_tower_latitude, bgl_encode_latitude(a.latitude));
    bgl_putf(&b, airport_magvar, (float)a.magnetic_variation);
    bgl_put32(&b, airport_ident, bgl_pack_ident(a.ident) << 5 | 1);
    if (a.fsx_form)
        bgl_put8(&b, airport_traffic_scalar, 255);
    if (!a.name.empty() && o.name_subrecord)
        r.append(bgl_name_subrecord(a.name));
    for (const BglRunway &w : a.runways)
        r.append(bgl_runway_subrecord(w, o.runway_thresholds));
    for (int i = 0; i < o.coms; i++) {
        BglRecordBytes c(id_com, 12);
        bgl_put16(&c.bytes(), 6, 0x0701);
        bgl_put32(&c.bytes(), 8, 118700000);
        c.append(bgl_name_subrecord("TOWER").substr(record_header_size));
        r.append(c.finish());
    }
    for (int i = 0; i < a.helipads; i++) {
        BglRecordBytes h(id_helipad, helipad_size);
        bgl_put8(&h.bytes(), 7, 1);
        bgl_put32(&h.bytes(), 12, bgl_encode_longitude(a.longitude));
        bgl_put32(&h.bytes(), 16, bgl_encode_latitude(a.latitude));
        bgl_putf(&h.bytes(), 24, 20.0f);
        bgl_putf(&h.bytes(), 28, 20.0f);
        r.append(h.finish());
    }
    for (const BglDeletion &d : a.deletions)
        r.append(bgl_deletion_subrecord(d));
    return r.finish();
}

inline std::string bgl_vor_ils_record(const BglVorIls &v)
{
    using namespace bgl;
    BglRecordBytes r(id_vor_ils, vor_fixed);
    std::string &b = r.bytes();
    bgl_put8(&b, vor_type, (unsigned)v.type);
    bgl_put8(&b, vor_flags, v.flags);
    bgl_put32(&b, vor_longitude, bgl_encode_longitude(v.longitude));
    bgl_put32(&b, vor_latitude, bgl_encode_latitude(v.latitude));
    bgl_put32(&b, vor_elevation, bgl_encode_mm(v.elevation_m));
    bgl_put32(&b, vor_frequency, (uint32_t)v.frequency_hz);
    bgl_putf(&b, vor_range, (float)v.range_m);
    bgl_putf(&b, vor_magvar, (float)v.magnetic_variation);
    bgl_put32(&b, vor_ident, bgl_pack_ident(v.ident) << 5 | (v.type == BglVorIls::ils ? 2 : 0));
    bgl_put32(&b, vor_region_airport, bgl_encode_region_airport(v.region, v.airport));
    if (v.has_localizer) {
        BglRecordBytes l(id_localizer, localizer_size);
        bgl_put8(&l.bytes(), localizer_runway_number, (unsigned)v.localizer_runway_number);
        bgl_put8(&l.bytes(), localizer_runway_designator, (unsigned)v.localizer_runway_designator);
        bgl_putf(&l.bytes(), localizer_heading, (float)v.localizer_heading);
        bgl_putf(&l.bytes(), localizer_width, (float)v.localizer_width);
        r.append(l.finish());
    }
    if (v.has_glide_slope) {
        BglRecordBytes g(id_glide_slope, glide_slope_size);
        bgl_put32(&g.bytes(), 8, bgl_encode_longitude(v.longitude));
        bgl_put32(&g.bytes(), 12, bgl_encode_latitude(v.latitude));
        bgl_put32(&g.bytes(), 16, bgl_encode_mm(v.elevation_m));
        bgl_putf(&g.bytes(), 20, 18520.0f);
        bgl_putf(&g.bytes(), 24, 3.0f);
        r.append(g.finish());
    }
    if (v.has_dme) {
        BglRecordBytes d(id_dme, dme_size);
        bgl_put32(&d.bytes(), 8, bgl_encode_longitude(v.longitude));
        bgl_put32(&d.bytes(), 12, bgl_encode_latitude(v.latitude));
        bgl_put32(&d.bytes(), 16, bgl_encode_mm(v.elevation_m));
        bgl_putf(&d.bytes(), 20, 37040.0f);
        r.append(d.finish());
    }
    if (!v.name.empty())
        r.append(bgl_name_subrecord(v.name));
    return r.finish();
}

inline std::string bgl_ndb_record(const BglNdb &n)
{
    using namespace bgl;
    BglRecordBytes r(id_ndb, ndb_fixed);
    std::string &b = r.bytes();
    bgl_put16(&b, ndb_type, (unsigned)n.type);
    bgl_put32(&b, ndb_frequency, (uint32_t)n.frequency);
    bgl_put32(&b, ndb_longitude, bgl_encode_longitude(n.longitude));
    bgl_put32(&b, ndb_latitude, bgl_encode_latitude(n.latitude));
    bgl_put32(&b, ndb_elevation, bgl_encode_mm(n.elevation_m));
    bgl_putf(&b, ndb_range, (float)n.range_m);
    bgl_putf(&b, ndb_magvar, (float)n.magnetic_variation);
    bgl_put32(&b, ndb_ident, bgl_pack_ident(n.ident) << 5);
    bgl_put32(&b, ndb_region_airport, bgl_encode_region_airport(n.region, n.airport));
    if (!n.name.empty())
        r.append(bgl_name_subrecord(n.name));
    return r.finish();
}

inline std::string bgl_marker_record(const std::string &ident, double latitude, double longitude,
                                     int type = 2)
{
    using namespace bgl;
    std::string b(marker_size, '\0');
    bgl_put16(&b, record_id, id_marker);
    bgl_put16(&b, record_size, marker_size);
    bgl_put8(&b, marker_type, (unsigned)type);
    bgl_put32(&b, marker_longitude, bgl_encode_longitude(longitude));
    bgl_put32(&b, marker_latitude, bgl_encode_latitude(latitude));
    bgl_put32(&b, marker_ident, bgl_pack_ident(ident) << 5);
    return b;
}

/* A name list record naming airports (ident, name pairs). */
inline std::string bgl_name_list_record(const std::vector<std::pair<std::string, std::string>> &names)
{
    using namespace bgl;
    std::string b(names_fixed, '\0');
    bgl_put16(&b, record_id, id_name_list);    /* size field 0: it spans its subsection */
    size_t index = b.size();
    std::string text;
    for (size_t i = 0; i < names.size(); i++) {
        std::string e(4, '\0');
        bgl_put32(&e, 0, (uint32_t)text.size());
        b += e;
        text += names[i].second + '\0';
    }
    b += text;
    while (b.size() % 4)
        b += '\0';
    size_t entries = b.size();
    for (size_t i = 0; i < names.size(); i++) {
        std::string e(icao_entry_size, '\0');
        bgl_put16(&e, icao_entry_name, (unsigned)i);
        bgl_put32(&e, icao_entry_ident, bgl_pack_ident(names[i].first) << 5);
        b += e;
    }
    for (int list = 0; list < 6; list++)
        bgl_put32(&b, names_offsets + 4 * list,
                  (uint32_t)(list == names_airport_names ? index
                             : list == names_icao_entries ? entries : index));
    bgl_put16(&b, names_counts + 2 * names_airport_names, (unsigned)names.size());
    bgl_put16(&b, names_counts + 2 * names_icao_entries, (unsigned)names.size());
    return b;
}

/* An unsectioned file of an earlier simulator: binary header words first. */
inline std::string bgl_older_format_file(size_t size = 256)
{
    std::string b(size < 8 ? 8 : size, '\0');
    bgl_put16(&b, 0, 0x0001);             /* world set */
    bgl_put32(&b, 2, 0x00C35000);         /* bounds, as the old header starts */
    for (size_t i = 8; i < b.size(); i++)
        b[i] = (char)(i * 7);
    return b;
}

class BglWriter {
public:
    /* Where each part of the last file made by bytes() lies. */
    struct Subsection {
        size_t entry_at;              /* its entry in the section's table */
        size_t records_at, records_size;
        uint32_t record_count;
    };
    struct Section {
        uint32_t type;
        size_t pointer_at;            /* its 20-byte pointer after the header */
        size_t table_at, table_size;
        std::vector<Subsection> subsections;
        std::vector<size_t> records;  /* each record's file offset */
    };

    /* ---- What to write ---- */
    void add_airport(const BglAirport &a) { airports_.push_back(a); }
    void add_vor_ils(const BglVorIls &v) { add_record(bgl::section_vor_ils, bgl_vor_ils_record(v)); }
    void add_ndb(const BglNdb &n) { add_record(bgl::section_ndbs, bgl_ndb_record(n)); }
    void add_markers(int count, double latitude = 47.0, double longitude = -122.0)
    {
        for (int i = 0; i < count; i++)
            add_record(bgl::section_markers, bgl_marker_record("OM" + std::to_string(i), latitude,
                                                               longitude));
    }
    /* Any record's bytes, as they are, into a section of the given type
     * (an airport record of a later form, a damaged record). */
    void add_record(uint32_t section, const std::string &record)
    {
        find(section, 1).records.push_back(record);
    }
    /* A section the reader must pass over: one subsection of `bytes` bytes
     * of object-like filler (W id, W size records), as the object files are. */
    void add_objects(size_t bytes, uint32_t type = bgl::section_objects)
    {
        std::string filler(bytes, '\0');
        for (size_t at = 0; at + 0x40 <= bytes; at += 0x40) {
            bgl_put16(&filler, at, 0x000B);
            bgl_put16(&filler, at + 2, 0x40);
        }
        Pending p;
        p.type = type;
        p.flags = 1;
        p.records.push_back(filler);
        p.one_subsection = true;
        extra_.push_back(p);
    }
    /* A section of any type with these records; flags bit 16 makes its
     * subsection entries 20 bytes long. */
    void add_section(uint32_t type, uint32_t flags, const std::vector<std::string> &records)
    {
        Pending p;
        p.type = type;
        p.flags = flags;
        p.records = records;
        extra_.push_back(p);
    }

    /* ---- How to write it ---- */
    size_t records_per_subsection = 0;      /* 0: each section's records in one subsection */
    bool names_in_name_list = false;        /* airport names in a 0x27 section, not subrecords */
    BglAirportOptions airport_options;
    uint32_t second_magic = bgl::second_magic;

    /* The whole file; layout() then says where everything is. */
    std::string bytes()
    {
        using namespace bgl;
        std::vector<Pending> sections;
        Pending airports;
        airports.type = section_airports;
        airports.flags = 1;
        std::vector<std::pair<std::string, std::string>> names;
        BglAirportOptions options = airport_options;
        options.name_subrecord = !names_in_name_list;
        for (const BglAirport &a : airports_) {
            airports.records.push_back(bgl_airport_record(a, options));
            if (names_in_name_list && !a.name.empty())
                names.push_back(std::make_pair(a.ident, a.name));
        }
        for (const Pending &p : own_)
            if (p.type == section_airports)
                airports.records.insert(airports.records.end(), p.records.begin(),
                                        p.records.end());
        if (!airports.records.empty())
            sections.push_back(airports);
        for (uint32_t type : {section_vor_ils, section_ndbs, section_markers})
            for (const Pending &p : own_)
                if (p.type == type && !p.records.empty())
                    sections.push_back(p);
        if (!names.empty()) {
            Pending list;
            list.type = section_name_list;
            list.flags = 1;
            list.records.push_back(bgl_name_list_record(names));
            list.one_subsection = true;
            sections.push_back(list);
        }
        for (const Pending &p : own_)
            if (p.type != section_airports && p.type != section_vor_ils &&
                p.type != section_ndbs && p.type != section_markers && !p.records.empty())
                sections.push_back(p);
        sections.insert(sections.end(), extra_.begin(), extra_.end());

        std::string file(header_size + sections.size() * section_pointer_size, '\0');
        bgl_put32(&file, header_magic, file_magic);
        bgl_put32(&file, header_size_field, header_size);
        bgl_put32(&file, header_filetime, 0xD53E8000);
        bgl_put32(&file, header_filetime + 4, 0x01C9F1A0);
        bgl_put32(&file, header_second_magic, second_magic);
        bgl_put32(&file, header_section_count, (uint32_t)sections.size());
        layout_.clear();
        for (size_t s = 0; s < sections.size(); s++) {
            const Pending &p = sections[s];
            size_t per = p.one_subsection || records_per_subsection == 0 ? p.records.size()
                                                                         : records_per_subsection;
            size_t groups = p.records.empty() ? 0 : (p.records.size() + per - 1) / per;
            unsigned entry = subsection_entry_size(p.flags);
            Section out;
            out.type = p.type;
            out.pointer_at = header_size + s * section_pointer_size;
            out.table_at = file.size();
            out.table_size = groups * entry;
            file += std::string(out.table_size, '\0');
            for (size_t g = 0; g < groups; g++) {
                Subsection sub;
                sub.entry_at = out.table_at + g * entry;
                sub.records_at = file.size();
                sub.record_count = 0;
                for (size_t i = g * per; i < p.records.size() && i < (g + 1) * per; i++) {
                    out.records.push_back(file.size());
                    file += p.records[i];
                    sub.record_count++;
                }
                sub.records_size = file.size() - sub.records_at;
                bgl_put32(&file, sub.entry_at + subsection_id, (uint32_t)(0x100 + g));
                bgl_put32(&file, sub.entry_at + subsection_record_count, sub.record_count);
                bgl_put32(&file, sub.entry_at + subsection_records_offset, (uint32_t)sub.records_at);
                bgl_put32(&file, sub.entry_at + subsection_records_size, (uint32_t)sub.records_size);
                out.subsections.push_back(sub);
            }
            bgl_put32(&file, out.pointer_at + section_type, p.type);
            bgl_put32(&file, out.pointer_at + section_flags, p.flags);
            bgl_put32(&file, out.pointer_at + section_subsection_count, (uint32_t)groups);
            bgl_put32(&file, out.pointer_at + section_table_offset, (uint32_t)out.table_at);
            bgl_put32(&file, out.pointer_at + section_table_size, (uint32_t)out.table_size);
            layout_.push_back(out);
        }
        return file;
    }

    const std::vector<Section> &layout() const { return layout_; }
    /* The first section of a type in the last file made (null: none). */
    const Section *section(uint32_t type) const
    {
        for (const Section &s : layout_)
            if (s.type == type)
                return &s;
        return 0;
    }

private:
    struct Pending {
        uint32_t type = 0, flags = 1;
        std::vector<std::string> records;
        bool one_subsection = false;
    };
    Pending &find(uint32_t type, uint32_t flags)
    {
        for (Pending &p : own_)
            if (p.type == type)
                return p;
        own_.push_back(Pending());
        own_.back().type = type;
        own_.back().flags = flags;
        return own_.back();
    }

    std::vector<BglAirport> airports_;
    std::vector<Pending> own_;
    std::vector<Pending> extra_;
    std::vector<Section> layout_;
};

#endif
