/*
 * Geometry of runways and navaids on a spherical earth, in true degrees and
 * metres, and the runway designators that stand for headings.
 */
#ifndef PELMORA_TOOLS_GEOMETRY_H
#define PELMORA_TOOLS_GEOMETRY_H

#include <string>
#include <string_view>

double distance_metres(double lat1, double lon1, double lat2, double lon2);
/* Initial great-circle bearing from the first point to the second, 0 to 360. */
double bearing_degrees(double lat1, double lon1, double lat2, double lon2);
/* The angle between two bearings, 0 to 180. */
double bearing_difference(double a, double b);
long metres_to_feet(double metres);

/* A runway designator's heading when the source gives nothing better: its
 * number times ten (16L: 160), or the compass point of a water lane (N, NE,
 * ...); negative when it has neither. */
double designator_heading(std::string_view designator);

/* A designator as a join key: upper case, leading zeros of the number
 * dropped (04L and 4L are one runway end). */
std::string designator_key(std::string_view designator);

/* Where a point lies from an origin, in metres east and north on the plane
 * that touches the earth at the origin: good within some kilometres. */
void local_offset(double lat0, double lon0, double lat, double lon, double *east_m,
                  double *north_m);

#endif
