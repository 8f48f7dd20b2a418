/*
 * The simulator's own words in the module's records.  When the simulator is
 * handed an element tree it takes over the fields the record tables mark as
 * host-owned and writes its bookkeeping there; the stand-in does the same,
 * writing 0 into each of them, so a record that the module placed in
 * read-only data faults here just as it would in the simulator.
 *
 * Host-owned, per record: an element's words at 16, 20 and 36; a static
 * image's 36 bytes after its base; a variable reference's words at 4 and 8,
 * its value and its last 8 bytes; a needle's 100 bytes at 124 and the last
 * 8 bytes of each of its scale points; a slider's 48 bytes at 144; a
 * string's text pointer and its 28 bytes at 220.
 */
#include "host_fields.h"

#include <string.h>

namespace {

void take_variable(VariableRef &v)
{
    memset(v.host_4, 0, sizeof v.host_4);
    v.value.number = 0;
    memset(v.host_20, 0, sizeof v.host_20);
}

void take_needle(NeedleElement *n)
{
    take_variable(n->variable);
    memset(n->host_124, 0, sizeof n->host_124);
    if (n->scale)
        for (uint32_t i = 0; i < n->scale_count && i < scale_point_limit; i++)
            memset(n->scale[i].host_16, 0, sizeof n->scale[i].host_16);
}

void take_string(StringElement *s)
{
    for (VariableRef &v : s->variables)
        take_variable(v);
    s->text = 0; /* the update pass points it at the host's buffer */
    memset(s->host_220, 0, sizeof s->host_220);
}

void take_tree(ElementBase *e, int depth)
{
    if (!e || depth > element_depth_limit)
        return;
    memset(e->host_16, 0, sizeof e->host_16);
    e->host_36 = 0;
    switch (e->kind) {
    case element_static_image: {
        StaticImageElement *image = reinterpret_cast<StaticImageElement *>(e);
        memset(image->host_60, 0, sizeof image->host_60);
        break;
    }
    case element_needle: take_needle(reinterpret_cast<NeedleElement *>(e)); break;
    case element_slider: {
        SliderElement *s = reinterpret_cast<SliderElement *>(e);
        take_variable(s->x_variable);
        take_variable(s->y_variable);
        memset(s->host_144, 0, sizeof s->host_144);
        break;
    }
    case element_icon: take_variable(reinterpret_cast<IconElement *>(e)->variable); break;
    case element_string: take_string(reinterpret_cast<StringElement *>(e)); break;
    default: break;
    }
    if (e->children)
        for (ElementBase **child = e->children; *child; child++)
            take_tree(*child, depth + 1);
}

} // namespace

void take_host_fields(ElementBase *tree)
{
    take_tree(tree, 0);
}
