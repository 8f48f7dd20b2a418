/* The service table the host hands the module through ImportTable. */
#include "services.h"

#include "elements.h"
#include "host.h"
#include "host_fields.h"

#include <stdio.h>

static void hand_over(LifecycleStep step, ElementBase *element)
{
    if (host.current_gauge)
        host.current_gauge->handed[step] = element;
}

/* Querying and installing hand the host the tree: it takes over its fields. */
static void HOSTCALL query_elements(ElementBase *e)
{
    hand_over(step_query, e);
    take_host_fields(e);
}
static void HOSTCALL install_elements(ElementBase *e, uint32_t)
{
    hand_over(step_install, e);
    take_host_fields(e);
}
static void HOSTCALL initialize_elements(ElementBase *e) { hand_over(step_initialize, e); }
static void HOSTCALL update_elements(ElementBase *e)
{
    hand_over(step_update, e);
    update_element_tree(e);
}
static void HOSTCALL generate_elements(ElementBase *e, uint32_t) { hand_over(step_generate, e); }
static void HOSTCALL draw_elements(ElementBase *e) { hand_over(step_draw, e); }
static void HOSTCALL kill_elements(ElementBase *e) { hand_over(step_kill, e); }

void record_event(uint32_t id, uint32_t value)
{
    char line[64];
    format_event(id, value, line, sizeof line);
    host.events.push_back(line);
    bool known = apply_key_event(host.aircraft, id, value);
    printf("event %s%s\n", line, known ? "" : " (unknown id)");
    fflush(stdout);
    if (!host.log_path.empty()) {
        FILE *f = fopen(host.log_path.c_str(), "a");
        if (f) {
            fprintf(f, "%s\n", line);
            fclose(f);
        }
    }
    redraw_panel();
}

static uint32_t HOSTCALL send_key_event(uint32_t id, uint32_t value)
{
    record_event(id, value);
    return 1;
}

static uint32_t HOSTCALL read_variable(VariableRef *variable)
{
    return read_aircraft_variable(host.aircraft, variable) ? 1 : 0;
}

static HostServices make_table()
{
    HostServices t = {};
    t.query_elements = query_elements;
    t.install_elements = install_elements;
    t.initialize_elements = initialize_elements;
    t.update_elements = update_elements;
    t.generate_elements = generate_elements;
    t.draw_elements = draw_elements;
    t.kill_elements = kill_elements;
    t.send_key_event = send_key_event;
    t.read_variable = read_variable;
    return t;
}

HostServices host_service_table = make_table();
