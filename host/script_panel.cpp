#include "script_commands.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "dial.h"
#include "dialog_access.h"
#include "elements.h"
#include "host.h"
#include "module_loader.h"
#include "panel.h"

namespace {

size_t event_mark = 0;                  /* events before this are not checked */

/* The nth element of a kind in the tree of the gauge named by word 1, and
 * what the latest update pass made of it. */
ElementBase *updated_element(const Step &s, uint32_t kind, int nth, const char *kind_name,
                             ElementResult &result)
{
    PlacedGauge *g = find_gauge(word(s, 1).c_str());
    if (!g)
        fail("no gauge " + word(s, 1));
    ElementBase *e = g->header->elements ? find_element(g->header->elements[0], kind, nth) : 0;
    if (!e)
        fail("gauge " + word(s, 1) + " has no " + kind_name + " " + std::to_string(nth));
    if (!element_result(e, result))
        fail("the " + std::string(kind_name) + " of " + word(s, 1) + " has not been updated");
    return e;
}

} // namespace

void add_panel_commands(CommandTable &table)
{
    table.insert({
        /* ---- the panel ---- */
        {"click", [](const Step &s) {
             PlacedGauge *g = find_gauge(word(s, 1).c_str());
             if (!g)
                 fail("no gauge " + word(s, 1));
             if (!click_gauge(*g, (int)number(s, 2), (int)number(s, 3), mouse_left_single))
                 printf("click %s %ld %ld: no callback\n", word(s, 1).c_str(), number(s, 2), number(s, 3));
             return done;
         }},
        {"expect-gauges", [](const Step &s) {
             std::string got, expected;
             for (PlacedGauge &g : host.gauges)
                 got += std::string(got.empty() ? "" : " ") + g.header->name;
             for (size_t i = 1; i < s.words.size(); i++)
                 expected += std::string(i > 1 ? " " : "") + s.words[i];
             expect_equal("gauges", got, expected);
             return done;
         }},
        {"lifecycle", [](const Step &s) {
             static const std::map<std::string, LifecycleStep> names = {
                 {"query", step_query}, {"install", step_install}, {"initialize", step_initialize},
                 {"update", step_update}, {"generate", step_generate}, {"draw", step_draw},
                 {"kill", step_kill}};
             auto found = names.find(word(s, 1));
             if (found == names.end())
                 fail("unknown lifecycle routine " + word(s, 1));
             run_lifecycle(found->second, 0);
             return done;
         }},
        {"expect-own-elements", [](const Step &) {
             /* Every routine that ran handed over its own gauge's element. */
             for (PlacedGauge &g : host.gauges)
                 for (int k = 0; k < lifecycle_steps; k++) {
                     ElementBase *e = g.handed[k];
                     if (!e)
                         fail(std::string("gauge ") + g.header->name + ": routine " +
                              std::to_string(k) + " handed no element");
                     if (e != g.header->elements[0] || e->gauge != g.header)
                         fail(std::string("gauge ") + g.header->name + ": routine " +
                              std::to_string(k) + " handed the element of " +
                              (e->gauge ? e->gauge->name : "no gauge"));
                 }
             return done;
         }},
        {"expect-return", [](const Step &s) {
             if (host.callbacks_running > 0)
                 return retry;
             if (!host.have_callback_result)
                 fail("no callback has returned");
             expect_equal("callback result", host.last_callback_result, number(s, 1));
             return done;
         }},
        {"set", [](const Step &s) {
             if (!set_aircraft_variable(host.aircraft, (uint32_t)number(s, 1), atof(word(s, 2).c_str())))
                 fail("unknown variable " + word(s, 1));
             run_lifecycle(step_update, 0);
             redraw_panel();
             return done;
         }},
        {"expect-var", [](const Step &s) {
             VariableRef v = {};
             v.id = (uint32_t)number(s, 1);
             if (!read_aircraft_variable(host.aircraft, &v))
                 fail("unknown variable " + word(s, 1));
             double got = v.id == var_fuel_selector ? v.value.integer : v.value.number;
             if (got != atof(word(s, 2).c_str()))
                 fail("variable " + word(s, 1) + ": got " + std::to_string(got) + ", expected " + word(s, 2));
             return done;
         }},
        /* ---- the sample gauges ---- */
        {"update", [](const Step &) {
             run_lifecycle(step_update, 0);
             redraw_panel();
             return done;
         }},
        {"expect-needle", [](const Step &s) {
             /* GAUGE VALUE [X Y]: the callback's value, and the dial point
              * the needle turns to, to the nearest pixel. */
             ElementResult r;
             ElementBase *e = updated_element(s, element_needle, 1, "needle", r);
             expect_close("needle of " + word(s, 1), r.value, real_number(s, 2));
             if (s.words.size() > 3) {
                 const NeedleElement *n = reinterpret_cast<const NeedleElement *>(e);
                 double x = 0, y = 0;
                 if (!dial_point(n->scale, n->scale_count, r.value, x, y))
                     fail("the needle of " + word(s, 1) + " has no dial points");
                 expect_equal("needle of " + word(s, 1) + " points at x", lround(x), number(s, 3));
                 expect_equal("needle of " + word(s, 1) + " points at y", lround(y), number(s, 4));
             }
             return done;
         }},
        {"expect-icon", [](const Step &s) {
             /* GAUGE INDEX: the picture index the first icon's callback returned. */
             ElementResult r;
             updated_element(s, element_icon, 1, "icon", r);
             expect_close("icon of " + word(s, 1), r.value, real_number(s, 2));
             return done;
         }},
        {"expect-string", [](const Step &s) {
             /* GAUGE TEXT [VALUE]: what the first string's callback wrote and returned. */
             ElementResult r;
             updated_element(s, element_string, 1, "string", r);
             expect_equal("text of " + word(s, 1), r.text, word(s, 2));
             if (s.words.size() > 3)
                 expect_close("string value of " + word(s, 1), r.value, real_number(s, 3));
             return done;
         }},
        {"expect-slider", [](const Step &s) {
             /* GAUGE N DX DY: how far slider N (from 1) has moved, pixels. */
             ElementResult r;
             updated_element(s, element_slider, (int)number(s, 2), "slider", r);
             expect_close("slider " + word(s, 2) + " of " + word(s, 1) + " x", r.dx, real_number(s, 3));
             expect_close("slider " + word(s, 2) + " of " + word(s, 1) + " y", r.dy, real_number(s, 4));
             return done;
         }},
        /* ---- the event log ---- */
        {"clear-events", [](const Step &) {
             event_mark = host.events.size();
             return done;
         }},
        {"expect-events", [](const Step &s) {
             if (host.callbacks_running > 0 && find_dialog())
                 return retry;
             std::string got, expected;
             for (size_t i = event_mark; i < host.events.size(); i++)
                 got += (got.empty() ? "" : " ") + host.events[i];
             for (size_t i = 1; i < s.words.size(); i++)
                 expected += (i > 1 ? " " : "") + s.words[i];
             expect_equal("events", got, expected);
             return done;
         }},
    });
}
