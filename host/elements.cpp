/*
 * The update pass of the host's element services: walking an element tree,
 * filling variable references and running value callbacks.
 *
 * What an update pass makes of an element (the callback's value, a slider's
 * displacement, a string's text) is kept here, in a table keyed by the
 * element's address, not in the record's host-owned words: an icon record has
 * none, and one place for every kind keeps drawing and the scripts' checks
 * simple.  The update pass writes only where the module expects it: the
 * values of the variable references and a string's text pointer.
 */
#include "elements.h"

#include <stdio.h>
#include <string.h>

#include <map>
#include <vector>

#include "host.h"
#include "host_fields.h"
#include "module_call.h"

namespace {

/* A string element may ask for at most this many characters. */
const uint32_t string_length_limit = 4096;

/* Bytes after a string buffer that a callback must leave alone. */
const size_t guard_size = 16;
const unsigned char guard_byte = 0xA5;

/* A slider never moves further than this, whatever its variable says. */
const double slider_travel_limit = 10000.0;

struct ElementState {
    bool updated = false;
    double value = 0;               /* the value callback's result */
    double dx = 0, dy = 0;          /* a slider's displacement */
    std::vector<char> text;         /* a string's buffer, then its guard bytes */
};

std::map<const ElementBase *, ElementState> states;

void fill_variable(VariableRef &v)
{
    if (v.id == 0)
        return;
    if (!read_aircraft_variable(host.aircraft, &v))
        v.value.number = 0; /* a variable this aircraft does not have reads as 0 */
}

const char *gauge_name(const ElementBase *e)
{
    return e->gauge && e->gauge->name ? e->gauge->name : "(no gauge)";
}

void host_failure(const ElementBase *e, const char *what)
{
    fprintf(stderr, "host failure: %s string element: %s\n", gauge_name(e), what);
    fflush(stderr);
    host.failures++;
}

void update_needle(NeedleElement *n, ElementState &state)
{
    fill_variable(n->variable);
    if (n->callback)
        CALL_MODULE("needle value callback", state.value = n->callback(n));
    else
        state.value = n->variable.value.number;
}

void update_icon(IconElement *icon, ElementState &state)
{
    fill_variable(icon->variable);
    state.value = 0.0;
    if (icon->callback)
        CALL_MODULE("icon value callback", state.value = icon->callback(icon));
}

double slider_travel(const VariableRef &v, double scale)
{
    if (v.id == 0)
        return 0;
    double travel = v.value.number * scale;
    if (!(travel == travel))
        return 0;
    if (travel > slider_travel_limit)
        return slider_travel_limit;
    if (travel < -slider_travel_limit)
        return -slider_travel_limit;
    return travel;
}

void update_slider(SliderElement *s, ElementState &state)
{
    fill_variable(s->x_variable);
    fill_variable(s->y_variable);
    state.dx = slider_travel(s->x_variable, s->x_scale);
    state.dy = slider_travel(s->y_variable, s->y_scale);
}

void update_string(StringElement *s, ElementState &state)
{
    for (VariableRef &v : s->variables)
        fill_variable(v);
    if (s->max_length > string_length_limit) {
        char what[96];
        snprintf(what, sizeof what, "asks for %lu characters, more than the host's %lu",
                 (unsigned long)s->max_length, (unsigned long)string_length_limit);
        host_failure(&s->base, what);
        state.text.assign(guard_size + 1, 0);
        s->text = 0;
        return;
    }
    /* A fresh, empty buffer of max_length + 1 bytes with the guard after it. */
    size_t room = (size_t)s->max_length + 1;
    state.text.assign(room + guard_size, (char)guard_byte);
    memset(state.text.data(), 0, room);
    s->text = state.text.data();
    state.value = 0.0;
    if (s->callback)
        CALL_MODULE("string value callback", state.value = s->callback(s));
    char *text = state.text.data();
    for (size_t i = room; i < room + guard_size; i++)
        if ((unsigned char)text[i] != guard_byte) {
            host_failure(&s->base, "the callback wrote past the end of the text buffer");
            break;
        }
    if (memchr(text, 0, room) == 0)
        host_failure(&s->base, "the callback left the text without its terminating NUL");
    text[room - 1] = 0;
}

void update_tree(ElementBase *e, int depth)
{
    if (!e || depth > element_depth_limit)
        return;
    ElementState &state = states[e];
    switch (e->kind) {
    case element_needle: update_needle(reinterpret_cast<NeedleElement *>(e), state); break;
    case element_icon: update_icon(reinterpret_cast<IconElement *>(e), state); break;
    case element_slider: update_slider(reinterpret_cast<SliderElement *>(e), state); break;
    case element_string: update_string(reinterpret_cast<StringElement *>(e), state); break;
    default: break;
    }
    state.updated = true;
    if (e->children)
        for (ElementBase **child = e->children; *child; child++)
            update_tree(*child, depth + 1);
}

const ElementState *state_of(const ElementBase *e)
{
    auto found = states.find(e);
    return found != states.end() && found->second.updated ? &found->second : 0;
}

ElementBase *find_in_tree(ElementBase *e, uint32_t kind, int &nth, int depth)
{
    if (!e || depth > element_depth_limit)
        return 0;
    if (e->kind == kind && --nth == 0)
        return e;
    if (e->children)
        for (ElementBase **child = e->children; *child; child++)
            if (ElementBase *found = find_in_tree(*child, kind, nth, depth + 1))
                return found;
    return 0;
}

} // namespace

void update_element_tree(ElementBase *element)
{
    update_tree(element, 0);
}

ElementBase *find_element(ElementBase *tree, uint32_t kind, int nth)
{
    if (nth < 1)
        return 0;
    return find_in_tree(tree, kind, nth, 0);
}

bool element_result(const ElementBase *element, ElementResult &result)
{
    const ElementState *state = state_of(element);
    if (!state)
        return false;
    result.value = state->value;
    result.dx = state->dx;
    result.dy = state->dy;
    result.text = state->text.empty() ? "" : state->text.data();
    return true;
}
