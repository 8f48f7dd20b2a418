/*
 * Where the course written for a runway end comes from.
 *
 *   0. The magnetic course the source gives for the end, worked out in its
 *      own magnetic world: the simulator's scenery stores a variation in
 *      each landing system and airport, and its compass follows that, not
 *      the World Magnetic Model.
 *   1. A runway designated on true north (its designator ends in T: Thule
 *      08T, Alert 05T) is flown and charted on true courses: the
 *      localizer's true bearing, else the end's true heading, as it is.
 *   2. Else the published magnetic course of its localizer, where the
 *      source gives one (nav.dat 1150 on): the course on the chart.
 *   3. Else computed: the localizer's true bearing, else the end's true
 *      heading, less the magnetic declination of the World Magnetic Model at
 *      that place on the conversion date.
 *   4. Else, with no heading or no place, the designator's number times ten.
 *
 * nav.dat 1150 and later pack the published magnetic front course with the
 * true bearing in a localizer's bearing field: magnetic x 360 + true
 * (KSEA 16L: 59220.343 is 164 x 360 + 180.343).  A packed magnetic 0 stands
 * for 360, so a north-facing runway's field is under 360; such files still
 * hold a few rows in the old style, a plain true bearing under 360.  A value
 * under 360 is therefore taken as a published 360 only when its true bearing
 * lies within north_published_degrees of north (where the declination can
 * carry a magnetic 360); otherwise it is an old-style true bearing, and its
 * course is computed.
 */
#ifndef PELMORA_TOOLS_COURSES_H
#define PELMORA_TOOLS_COURSES_H

#include <string_view>

enum class CourseKind {
    none,                               /* no course at all: the end is left out */
    published,                          /* the localizer's published magnetic course */
    computed,                           /* true less the declination */
    true_course,                        /* a runway designated on true north */
    designator,                         /* the designator's number times ten */
    source                              /* the source's own, from its stored variation */
};

struct EndCourse {
    int degrees = 0;                    /* 1 to 360; 0 with CourseKind::none */
    CourseKind kind = CourseKind::none;
};

static constexpr double north_published_degrees = 40;

/* A localizer's bearing field: the true bearing, 0 to 360, and the
 * published magnetic course, 1 to 360 (0 when none).  packed: the file packs
 * the field (nav.dat 1150 on).  value is a finite bearing field, 0 up to
 * 361 x 360. */
void unpack_localizer_bearing(double value, bool packed, double *true_bearing, int *published);

/* True for a designator on true north: a runway number, perhaps L, C or R,
 * then T (08T, 13T, 16LT). */
bool is_true_designator(std::string_view designator);

#endif
