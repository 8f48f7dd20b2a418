/*
 * Reader of the two facility data files, "Prwydata.txt" (one airport per line)
 * and "Pnavdata.txt" (one VOR or NDB per line).
 *
 * Portable: no Windows headers.  The file is opened in binary and the text-mode
 * rules are applied here, so the reader behaves the same on every platform:
 *   - CR LF reads as LF; a CR not followed by LF stays (it is white space);
 *   - a Ctrl-Z byte ends the file: nothing from it on is read;
 *   - one read takes at most line_limit - 1 characters, the LF included, so a
 *     longer line comes in pieces and every piece is a line of its own.
 *
 * Every field below has a room in characters and storage of room + 1; a longer
 * token is cut to its room.  Nothing is ever written past a field.
 */
#ifndef PELMORA_FACILITY_FILE_H
#define PELMORA_FACILITY_FILE_H

#include <stddef.h>
#include <stdio.h>

#define RUNWAY_FILE_NAME "Prwydata.txt"
#define NAVAID_FILE_NAME "Pnavdata.txt"

/* The error lines a search shows, chosen by mode; each ends in one blank. */
#define RUNWAY_FILE_ERROR "Unable to Open Runway Data File 'Prwydata.txt' "
#define NAVAID_FILE_ERROR "Unable to Open Navaid Data File 'Pnavdata.txt' "

const int line_limit = 990;             /* bytes per read, terminating zero included */
const int line_buffer_room = 1000;      /* the line buffers that reads fill */

/* ---- The open stream ---- */

const size_t facility_block_room = 64 * 1024;

/* One open data file.  Reads come from the file in large blocks, and lines
 * are found inside the block: a line never straddles two blocks, as the
 * unread rest moves to the front before the block is topped up. */
struct FacilityFile {
    FILE *stream;                       /* 0 when closed */
    size_t pos, len;                    /* unread bytes are block[pos .. len) */
    bool at_end;                        /* nothing more comes from the stream: end of
                                           file, a read error, or a Ctrl-Z in the block */
    unsigned char block[facility_block_room];
};
static_assert(line_limit <= (int)facility_block_room, "a read must fit in the block");

/* The stream of the running search (one search runs at a time). */
extern FacilityFile facility_file;

/* Opens a data file by name for reading.  False when it cannot be opened. */
bool facility_open(FacilityFile *file, const char *name);

/* The simulator's folder, where a data file is looked for when its bare name
 * opens nothing in the current folder (which the simulator's file dialogs
 * and its add-ons change).  Empty: no second look.  Set by the launcher at
 * every opening of the window; a folder longer than its room is not kept. */
const size_t facility_folder_room = 259;
void set_facility_folder(const char *folder);

/* The simulator's folder from the module's file name: the folder that holds
 * the GAUGES folder (any letter case) the module was loaded from;
 * "C:\SIM\GAUGES\PELMORA.GAU" gives "C:\SIM", "C:\GAUGES\PELMORA.GAU" gives
 * "C:\".  Empty when the module's folder has another name or the folder
 * does not fit in room - 1 characters. */
void simulator_folder_of(const char *module_path, char *folder, size_t room);

/* Opens a search's data file: by its bare name in the current folder, else
 * in the simulator's folder.  False when neither has it. */
bool facility_open_data(FacilityFile *file, const char *name);

/* One read of facility_next_line: the characters of the line after the
 * text-mode rules, LF kept, inside the file's block and valid until the next
 * read.  Not terminated, and it may hold zero bytes; a zero byte ends the
 * line's text for the token readers below, as it ends a C string. */
struct FacilityLine {
    const char *text;
    size_t length;                      /* 1 to limit - 1 */
};

/* Finds the next line in the block, at most limit - 1 characters, the LF
 * kept (a longer line comes in pieces).  A limit above facility_block_room
 * counts as facility_block_room.  False, with length 0, at the end. */
bool facility_next_line(FacilityFile *file, FacilityLine *line, int limit);

/* Reads the next line into line (at most limit - 1 characters plus a zero,
 * the LF kept, as fgets does).  False, with line empty, at the end. */
bool facility_read_line(FacilityFile *file, char *line, int limit);

void facility_close(FacilityFile *file);

/* The first byte c in the n bytes at p, or 0, as memchr, looking at two
 * machine words at a time.  The reader finds line ends and Ctrl-Z with the
 * same loop, in one pass for both, on every platform: every keystroke looks
 * through the whole runway file, and the Windows C runtime's memchr looks at
 * one byte at a time. */
const unsigned char *find_byte_by_words(const unsigned char *p, size_t n, unsigned char c);

/* ---- Tokens ---- */

/* White space: blank, tab, CR, LF, vertical tab, form feed. */
inline bool is_blank_char(char c)
{
    /* Blank, or one of tab, LF, vertical tab, form feed and CR (9 to 13). */
    return c == ' ' || (unsigned char)(c - '\t') <= '\r' - '\t';
}

/* Finds the next token at or after *cursor; sets *start and *length and moves
 * *cursor past it.  False when only white space is left. */
bool next_token(const char **cursor, const char **start, size_t *length);

/* Copies length characters of src into field, cut to room; always terminated. */
void copy_field(char *field, size_t room, const char *src, size_t length);

/* Fills count fields from the leading tokens of text; fields without a token
 * are empty.  Returns how many tokens were found (at most count). */
int take_tokens(const char *text, char *const *fields, const size_t *rooms, int count);
/* The same for a line found by facility_next_line. */
int take_tokens(const FacilityLine &line, char *const *fields, const size_t *rooms, int count);

/* ---- Records ---- */

/* The four leading tokens of any line, as the searches take them. */
const size_t leading_field_room = 39;
struct LeadingFields {
    char code[leading_field_room + 1];
    char name[leading_field_room + 1];
    char third[leading_field_room + 1];   /* airport: runway 1; navaid: type */
    char fourth[leading_field_room + 1];  /* airport: runway 2; navaid: frequency */
};
void read_leading_fields(const char *line, LeadingFields *fields);
/* From a line of the reader: the first count fields only (a search that
 * needs the code alone takes no more), the others left empty. */
void read_leading_fields(const FacilityLine &line, LeadingFields *fields, int count = 4);

const size_t airport_code_room = 15;
const size_t airport_name_room = 39;
const size_t runway_room_first = 39;    /* runways 1 and 2 */
const size_t runway_room = 79;          /* runways 3 to 20 */
const int max_runways = 20;

/* One line of the runway file: code, name, up to 20 runway descriptors
 * (tokens 3 to 22; later tokens are ignored). */
struct AirportRecord {
    char code[airport_code_room + 1];
    char name[airport_name_room + 1];
    char runways[max_runways][runway_room + 1];
    int runway_count;                   /* runways up to the first missing one */
};
void read_airport_record(const char *line, AirportRecord *record);

/* A runway descriptor: designator_identifier_length_frequency_course (the
 * runway end, its ILS identifier or "-", the length; the file format's own
 * description calls the first three part1, part2 and part3).  Underscores
 * from the second character on read as blanks; the first five parts are
 * taken and parts the descriptor lacks stay empty. */
const size_t runway_designator_room = 27;
const size_t runway_identifier_room = 15;
const size_t runway_length_room = 27;
const size_t frequency_room = 27;
const size_t course_room = 27;
const size_t descriptor_work_room = 79;
struct RunwayDescriptor {
    char designator[runway_designator_room + 1];
    char identifier[runway_identifier_room + 1];
    char length[runway_length_room + 1];
    char frequency[frequency_room + 1];
    char course[course_room + 1];
};
void read_runway_descriptor(const char *descriptor, RunwayDescriptor *runway);

/* One line of the navaid file: code, name, type, frequency; later tokens are
 * ignored. */
const size_t navaid_field_room = 39;
struct NavaidRecord {
    char code[navaid_field_room + 1];
    char name[navaid_field_room + 1];
    char type[navaid_field_room + 1];
    char frequency[navaid_field_room + 1];
};
void read_navaid_record(const char *line, NavaidRecord *record);

#endif
