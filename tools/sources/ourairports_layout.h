/*
 * What the three OurAirports files hold, as the reader takes them: for each,
 * the columns it reads (found by their header names, so their order in the
 * file does not matter), which of them a file must have, and the types of
 * airport and navaid it knows.  Included by ourairports.cpp alone.
 */
#ifndef PELMORA_TOOLS_OURAIRPORTS_LAYOUT_H
#define PELMORA_TOOLS_OURAIRPORTS_LAYOUT_H

#include <string>

#include "convert/facilities.h"

/* ======================================================================
 * airports.csv
 *   2434,"EGLL","large_airport","London Heathrow Airport",51.4706,-0.461941,83,"EU","GB","GB-ENG","London","yes","EGLL","LHR","EGLL",,"http://www.heathrowairport.com/","https://en.wikipedia.org/wiki/Heathrow_Airport","LON, Londres"
 * ====================================================================== */

enum AirportColumn {
    airport_ident,                      /* OurAirports' own key: the ICAO code or a local one */
    airport_type,
    airport_name,
    airport_latitude,
    airport_longitude,
    airport_country,                    /* ISO 3166 code, e.g. GB */
    airport_icao_code,                  /* newer files only */
    airport_gps_code,
    airport_local_code,                 /* the national code: the FAA's S50 */
    airport_column_count
};
static const char *const airport_column_names[airport_column_count] = {
    "ident", "type", "name", "latitude_deg", "longitude_deg", "iso_country", "icao_code",
    "gps_code", "local_code"};
static const bool airport_column_required[airport_column_count] = {
    true, true, true, true, true, true, false, true, false};

struct AirportType {
    const char *name;
    AirportKind kind;
    bool closed;
};
static const AirportType airport_types[] = {
    {"large_airport", AirportKind::land, false},
    {"medium_airport", AirportKind::land, false},
    {"small_airport", AirportKind::land, false},
    {"seaplane_base", AirportKind::seaplane_base, false},
    {"heliport", AirportKind::heliport, false},
    {"closed", AirportKind::land, true},
    {"balloonport", AirportKind::other, false},
};

/* ======================================================================
 * runways.csv
 *   237968,2434,"EGLL",12799,164,"ASP",1,0,"09L",51.4775,-0.484931,79,89.6,1013,"27R",51.4776,-0.433258,78,269.6,
 * ====================================================================== */

enum RunwayColumn {
    runway_airport,                     /* the airport's ident */
    runway_length,                      /* feet */
    runway_surface,                     /* free text: ASP, CON, TURF, ... */
    runway_closed,                      /* 1 when closed */
    runway_le_ident,                    /* the low end */
    runway_le_latitude,
    runway_le_longitude,
    runway_le_heading,                  /* true degrees; often not: used only without places */
    runway_he_ident,                    /* the high end */
    runway_he_latitude,
    runway_he_longitude,
    runway_he_heading,
    runway_column_count
};
static const char *const runway_column_names[runway_column_count] = {
    "airport_ident",   "length_ft",        "surface",          "closed",
    "le_ident",        "le_latitude_deg",  "le_longitude_deg", "le_heading_degT",
    "he_ident",        "he_latitude_deg",  "he_longitude_deg", "he_heading_degT"};
static const bool runway_column_required[runway_column_count] = {
    true, true, true, true, true, true, true, true, true, true, true, true};

/* ======================================================================
 * navaids.csv
 *   85466,"Seattle_VORTAC_US","SEA","Seattle","VORTAC",116800,47.4353981018,-122.30999755859375,355,"US",116800,"115X",47.4353981018,-122.30999755859375,355,19.0,15.5,"BOTH","HIGH",
 * ====================================================================== */

enum NavaidColumn {
    navaid_ident,
    navaid_name,
    navaid_type,                        /* VOR, VOR-DME, VORTAC, NDB, NDB-DME, DME, TACAN */
    navaid_frequency,                   /* kHz, also for VORs */
    navaid_latitude,
    navaid_longitude,
    navaid_country,
    navaid_column_count
};
static const char *const navaid_column_names[navaid_column_count] = {
    "ident", "name", "type", "frequency_khz", "latitude_deg", "longitude_deg", "iso_country"};
static const bool navaid_column_required[navaid_column_count] = {true, true, true, true,
                                                                 true, true, true};

struct NavaidType {
    const char *name;
    bool vor;
};
static const NavaidType navaid_types[] = {
    {"VOR", true}, {"VOR-DME", true}, {"VORTAC", true}, {"NDB", false}, {"NDB-DME", false},
};

#endif
