/*
 * Magnetic declination from the World Magnetic Model 2025, and the magnetic
 * course a pilot sets from a true bearing.
 *
 * Plain functions over a coefficient table built into the program: no
 * allocation, no state, safe to call from anywhere.
 */
#ifndef PELMORA_TOOLS_MAGNETIC_H
#define PELMORA_TOOLS_MAGNETIC_H

/* The World Magnetic Model 2025 is valid for these decimal years. */
extern const double magnetic_model_first_year;   /* 2025.0 */
extern const double magnetic_model_last_year;    /* 2030.0 */

/* Decimal year of a calendar date as the model counts it (day of year over
 * days in the year): 1 January is the whole year.  A month outside 1..12 or
 * a day outside the month is brought to the nearest valid one. */
double decimal_year(int year, int month, int day);

/* Declination in degrees, east positive, at a geodetic latitude and
 * longitude (degrees) and a height above the WGS84 ellipsoid (km) at a
 * decimal year (caller clamps to the valid span).  Latitudes beyond +-90
 * count as the pole; at a geographic pole the result is the limit reached
 * along the meridian of the given longitude, always finite. */
double magnetic_declination(double latitude, double longitude, double height_km, double year);

/* The course a pilot sets, whole degrees 1..360 (north is 360, never 0),
 * from a true bearing (any real value; taken modulo 360) and the
 * declination (east positive): true - declination, rounded to the nearest
 * degree, halves up.  A value that is not finite gives 360. */
int magnetic_course(double true_bearing, double declination);

#endif
