/*
 * Turning source text and numbers into the tokens of the two data files.
 *
 * Every token made here is one token of the module's reader: no white
 * space, never empty ("-" stands for a missing value), plain ASCII, upper
 * case, within the room it is asked for.
 */
#ifndef PELMORA_TOOLS_TOKENS_H
#define PELMORA_TOOLS_TOKENS_H

#include <stddef.h>

#include <string>
#include <string_view>

/* A name as one token: letters transliterated to ASCII (e, e with accents
 * alike), upper case, words joined by underscores, cut to room.  Kept
 * besides letters and digits: - / . & '.  Any other character separates
 * words.  Input is UTF-8; a byte that is not valid UTF-8 reads as Latin-1.
 * An empty result is "-". */
std::string name_token(std::string_view text, size_t room);

/* An identifier or runway designator: letters and digits only, upper case,
 * cut to room; "-" when nothing is left. */
std::string ident_token(std::string_view text, size_t room);

/* True for an ICAO-style location code: four letters A to Z (either case). */
bool is_icao_style(std::string_view code);

/* Upper case of the ASCII letters only. */
std::string upper_ascii(std::string_view text);

/* "110.30" for 11030: three digits, a point and two digits.  Empty when the
 * value does not fit that form (below 100.00 or from 1000.00 on). */
std::string frequency_text(long mhz_hundredths);

/* A course in whole degrees as three digits: rounded to the nearest degree,
 * halves up, north written 360.  "000" when the course is unknown
 * (negative). */
std::string course_text(double degrees);

/* A navaid's name without the type word that nav.dat adds at its end
 * ("SEATTLE VORTAC" gives "SEATTLE"); the type goes in its own column. */
std::string_view strip_type_word(std::string_view name);

#endif
