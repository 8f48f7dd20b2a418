#include "magnetic.h"

#include <math.h>

const double magnetic_model_first_year = 2025.0;
const double magnetic_model_last_year = 2030.0;

namespace {

struct GaussCoefficient {
    int n, m;
    double g, h;          /* nT at the epoch */
    double g_dot, h_dot;  /* nT per year */
};

const GaussCoefficient coefficients[] = {
#include "magnetic_coefficients.inc"
};

const int max_degree = 12;
const double model_epoch = 2025.0;
const double reference_radius_km = 6371.2;  /* the model's geomagnetic reference sphere */

/* WGS84 */
const double semi_major_axis_km = 6378.137;
const double flattening = 1.0 / 298.257223563;

/* Closer to the axis than this (as the cosine of the geocentric latitude)
 * the point is taken this far from it, on the given meridian: the east
 * component divides by that cosine, and the limit along the meridian is what
 * a course there is measured from. */
const double min_axis_cosine = 1e-12;

const double pi = 3.14159265358979323846;
const double radians_per_degree = pi / 180.0;

/* The factors of the recursions below, which depend on n and m only. */
struct RecursionFactors {
    double diagonal[max_degree + 1];                  /* sqrt((2n-1)/(2n)), 1 for n = 1 */
    double a[max_degree + 1][max_degree + 1];         /* (2n-1)/sqrt(n^2-m^2) */
    double b[max_degree + 1][max_degree + 1];         /* sqrt(((n-1)^2-m^2)/(n^2-m^2)) */

    RecursionFactors() : diagonal(), a(), b()
    {
        diagonal[1] = 1.0;
        for (int n = 2; n <= max_degree; ++n)
            diagonal[n] = sqrt((2.0 * n - 1.0) / (2.0 * n));
        for (int n = 1; n <= max_degree; ++n)
            for (int m = 0; m < n; ++m) {
                double root = sqrt(double(n * n - m * m));
                a[n][m] = (2.0 * n - 1.0) / root;
                b[n][m] = m <= n - 2 ? sqrt(double((n - 1) * (n - 1) - m * m)) / root : 0.0;
            }
    }
};

/* Schmidt semi-normalised associated Legendre functions P[n][m] of the sine
 * t of the geocentric latitude (u its cosine), and their derivatives with
 * respect to the colatitude, by the usual recursions in degree: the
 * diagonal from P[n-1][n-1], the rest from the two degrees below (the
 * term of n-2 vanishes for m = n-1). */
struct Legendre {
    double p[max_degree + 1][max_degree + 1];
    double dp[max_degree + 1][max_degree + 1];
};

void legendre_functions(double t, double u, Legendre &out)
{
    static const RecursionFactors f;
    out.p[0][0] = 1.0;
    out.dp[0][0] = 0.0;
    for (int n = 1; n <= max_degree; ++n) {
        double k = f.diagonal[n];
        out.p[n][n] = k * u * out.p[n - 1][n - 1];
        out.dp[n][n] = k * (t * out.p[n - 1][n - 1] + u * out.dp[n - 1][n - 1]);
        for (int m = 0; m < n; ++m) {
            double p2 = 0.0, dp2 = 0.0;
            if (m <= n - 2) {
                p2 = out.p[n - 2][m];
                dp2 = out.dp[n - 2][m];
            }
            out.p[n][m] = f.a[n][m] * t * out.p[n - 1][m] - f.b[n][m] * p2;
            out.dp[n][m] = f.a[n][m] * (t * out.dp[n - 1][m] - u * out.p[n - 1][m]) - f.b[n][m] * dp2;
        }
    }
}

}  // namespace

double decimal_year(int year, int month, int day)
{
    static const int month_days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1)
        month = 1;
    if (month > 12)
        month = 12;
    int day_of_year = 0;
    for (int i = 0; i < month - 1; ++i)
        day_of_year += month_days[i] + (i == 1 && leap ? 1 : 0);
    int in_month = month_days[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day < 1)
        day = 1;
    if (day > in_month)
        day = in_month;
    day_of_year += day;
    return year + (day_of_year - 1) / (leap ? 366.0 : 365.0);
}

double magnetic_declination(double latitude, double longitude, double height_km, double year)
{
    if (latitude > 90.0)
        latitude = 90.0;
    if (latitude < -90.0)
        latitude = -90.0;
    double phi = latitude * radians_per_degree;
    double lambda = fmod(longitude, 360.0) * radians_per_degree;

    /* Geodetic to geocentric on the WGS84 ellipsoid. */
    double e2 = flattening * (2.0 - flattening);
    double sin_phi = sin(phi);
    double rc = semi_major_axis_km / sqrt(1.0 - e2 * sin_phi * sin_phi);
    double xp = (rc + height_km) * cos(phi);
    double zp = (rc * (1.0 - e2) + height_km) * sin_phi;
    double r = sqrt(xp * xp + zp * zp);
    double phi_c = atan2(zp, xp);
    double t = zp / r;
    double u = xp / r;
    if (u < min_axis_cosine)
        u = min_axis_cosine;

    Legendre legendre;
    legendre_functions(t, u, legendre);

    /* cos(m lambda) and sin(m lambda) by the angle-sum rule. */
    double cos_ml[max_degree + 1], sin_ml[max_degree + 1];
    cos_ml[0] = 1.0;
    sin_ml[0] = 0.0;
    cos_ml[1] = cos(lambda);
    sin_ml[1] = sin(lambda);
    for (int m = 2; m <= max_degree; ++m) {
        cos_ml[m] = cos_ml[m - 1] * cos_ml[1] - sin_ml[m - 1] * sin_ml[1];
        sin_ml[m] = sin_ml[m - 1] * cos_ml[1] + cos_ml[m - 1] * sin_ml[1];
    }

    /* The field's north, east and down components in geocentric terms. */
    double dt = year - model_epoch;
    double ratio = reference_radius_km / r;
    double north = 0.0, east = 0.0, down = 0.0;
    double radius_power = ratio * ratio * ratio;  /* (a/r)^(n+2) for n = 1 */
    int degree = 1;
    for (const GaussCoefficient &c : coefficients) {
        while (degree < c.n) {
            radius_power *= ratio;
            ++degree;
        }
        double g = c.g + dt * c.g_dot;
        double h = c.h + dt * c.h_dot;
        double along = g * cos_ml[c.m] + h * sin_ml[c.m];
        double p = legendre.p[c.n][c.m];
        /* d/d(latitude) is minus d/d(colatitude) */
        north += radius_power * along * legendre.dp[c.n][c.m];
        east += radius_power * c.m * (g * sin_ml[c.m] - h * cos_ml[c.m]) * p / u;
        down -= (c.n + 1) * radius_power * along * p;
    }

    /* Turn north and down to the geodetic frame; east stays. */
    double tilt = phi_c - phi;
    double geodetic_north = north * cos(tilt) - down * sin(tilt);
    return atan2(east, geodetic_north) / radians_per_degree;
}

int magnetic_course(double true_bearing, double declination)
{
    double course = true_bearing - declination;
    if (!isfinite(course))
        return 360;
    course = fmod(course, 360.0);
    if (course < 0.0)
        course += 360.0;
    int whole = int(floor(course + 0.5));
    return whole == 0 ? 360 : whole;
}
