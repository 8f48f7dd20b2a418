#include "courses.h"

#include <math.h>

#include "converter.h"
#include "magnetic.h"
#include "common/geometry.h"

void unpack_localizer_bearing(double value, bool packed, double *true_bearing, int *published)
{
    *published = 0;
    if (!packed) {
        *true_bearing = fmod(value, 360.0);
        return;
    }
    double magnetic = floor(value / 360.0);
    *true_bearing = value - magnetic * 360.0;
    if (*true_bearing >= 360.0)             /* rounding at the top of a whole turn */
        *true_bearing -= 360.0;
    if (magnetic >= 1 && magnetic <= 360)
        *published = (int)magnetic;
    else if (magnetic == 0 && bearing_difference(*true_bearing, 0.0) <= north_published_degrees)
        *published = 360;
}

bool is_true_designator(std::string_view d)
{
    size_t digits = 0;
    while (digits < d.size() && d[digits] >= '0' && d[digits] <= '9')
        digits++;
    if (digits < 1 || digits > 2)
        return false;
    size_t at = digits;
    if (at < d.size() && (d[at] == 'L' || d[at] == 'C' || d[at] == 'R' || d[at] == 'l' ||
                          d[at] == 'c' || d[at] == 'r'))
        at++;
    return at + 1 == d.size() && (d[at] == 'T' || d[at] == 't');
}

EndCourse Converter::end_course(const Airport &airport, const RunwayEnd &end) const
{
    EndCourse course;
    const Localizer *l = end.localizer;
    const bool true_north = is_true_designator(end.designator);
    if (end.source_course >= 1 && end.source_course <= 360) {
        course.degrees = end.source_course;
        course.kind = CourseKind::source;
    } else if (l && true_north) {
        course.degrees = magnetic_course(l->bearing, 0.0);
        course.kind = CourseKind::true_course;
    } else if (l && l->published_course > 0) {
        course.degrees = l->published_course;
        course.kind = CourseKind::published;
    } else if (l) {
        course.degrees = magnetic_course(l->bearing, declination(l->latitude, l->longitude));
        course.kind = CourseKind::computed;
    } else if (end.heading >= 0 && true_north) {
        course.degrees = magnetic_course(end.heading, 0.0);
        course.kind = CourseKind::true_course;
    } else if (end.heading >= 0 && (end.has_position || airport.has_position)) {
        double decl = end.has_position ? declination(end.latitude, end.longitude)
                                       : declination(airport.latitude, airport.longitude);
        course.degrees = magnetic_course(end.heading, decl);
        course.kind = CourseKind::computed;
    } else if (designator_heading(end.designator) >= 0) {
        course.degrees = magnetic_course(designator_heading(end.designator), 0.0);
        course.kind = true_north ? CourseKind::true_course : CourseKind::designator;
    }
    return course;
}

void Converter::count_course(CourseKind kind)
{
    switch (kind) {
    case CourseKind::published: stats_.courses_published++; break;
    case CourseKind::computed: stats_.courses_computed++; break;
    case CourseKind::true_course: stats_.courses_true++; break;
    case CourseKind::designator: stats_.courses_designator++; break;
    case CourseKind::source: stats_.courses_source++; break;
    case CourseKind::none: break;
    }
}
