#include "geometry.h"

#include <math.h>
#include <stdio.h>

#include <string>

#include "tokens.h"

static const double earth_radius_m = 6371008.8;   /* mean radius */
static const double pi = 3.14159265358979323846;
static const double metres_per_foot = 0.3048;

static double radians(double degrees)
{
    return degrees * pi / 180.0;
}

double distance_metres(double lat1, double lon1, double lat2, double lon2)
{
    double p1 = radians(lat1), p2 = radians(lat2);
    double dp = p2 - p1, dl = radians(lon2 - lon1);
    double a = sin(dp / 2) * sin(dp / 2) + cos(p1) * cos(p2) * sin(dl / 2) * sin(dl / 2);
    return 2 * earth_radius_m * atan2(sqrt(a), sqrt(1 - a));
}

double bearing_degrees(double lat1, double lon1, double lat2, double lon2)
{
    double p1 = radians(lat1), p2 = radians(lat2), dl = radians(lon2 - lon1);
    double y = sin(dl) * cos(p2);
    double x = cos(p1) * sin(p2) - sin(p1) * cos(p2) * cos(dl);
    double b = atan2(y, x) * 180.0 / pi;
    return b < 0 ? b + 360 : b;
}

double bearing_difference(double a, double b)
{
    double d = fmod(fabs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

long metres_to_feet(double metres)
{
    return (long)floor(metres / metres_per_foot + 0.5);
}

/* Water lanes are often named by compass point. */
struct CompassPoint {
    const char *name;
    double heading;
};
static const CompassPoint compass_points[] = {
    {"N", 360}, {"NE", 45}, {"E", 90}, {"SE", 135},
    {"S", 180}, {"SW", 225}, {"W", 270}, {"NW", 315},
};

double designator_heading(std::string_view designator)
{
    std::string d = upper_ascii(designator);
    size_t digits = 0;
    while (digits < d.size() && d[digits] >= '0' && d[digits] <= '9')
        digits++;
    if (digits > 0 && digits <= 2) {
        int number = 0;
        for (size_t k = 0; k < digits; k++)
            number = number * 10 + (d[k] - '0');
        if (number >= 1 && number <= 36)
            return number * 10.0;
        return -1;
    }
    for (const CompassPoint &p : compass_points)
        if (d == p.name)
            return p.heading;
    return -1;
}

std::string designator_key(std::string_view designator)
{
    std::string d = upper_ascii(designator);
    size_t zeros = 0;
    while (zeros + 1 < d.size() && d[zeros] == '0' && d[zeros + 1] >= '0' && d[zeros + 1] <= '9')
        zeros++;
    return d.substr(zeros);
}

/* The type words of nav.dat names, longest first where one ends another. */
void local_offset(double lat0, double lon0, double lat, double lon, double *east_m,
                  double *north_m)
{
    double dl = lon - lon0;
    if (dl > 180)
        dl -= 360;
    else if (dl < -180)
        dl += 360;
    *north_m = radians(lat - lat0) * earth_radius_m;
    *east_m = radians(dl) * earth_radius_m * cos(radians(lat0));
}
