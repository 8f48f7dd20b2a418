#include "host.h"
#include "module_call.h"

#include <stdio.h>

HostState host;

static const char module_path[] = "\\GAUGES\\PELMORA.GAU";

bool load_module(std::string &error)
{
    char path[MAX_PATH + 32];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, path);
    if (n == 0 || n >= MAX_PATH) {
        error = "cannot read the current directory";
        return false;
    }
    lstrcatA(path, module_path);
    host.module = LoadLibraryA(path);
    if (!host.module) {
        char text[64];
        wsprintfA(text, " (error %lu)", GetLastError());
        error = std::string("cannot load ") + path + text;
        return false;
    }
    host.imports = reinterpret_cast<ModuleImports *>(GetProcAddress(host.module, "ImportTable"));
    host.linkage = reinterpret_cast<ModuleLinkage *>(GetProcAddress(host.module, "Linkage"));
    if (!host.imports || !host.linkage) {
        error = "the module does not export ImportTable and Linkage";
        return false;
    }
    /* The service table goes in before any routine of the module runs. */
    bool stored = false;
    for (ImportEntry *e = host.imports->entries; e->id != 0; e++)
        if (e->id == host_services_id) {
            e->services = &host_service_table;
            stored = true;
        }
    if (!stored) {
        error = "ImportTable has no entry for the service table";
        return false;
    }
    if (host.linkage->id != linkage_id) {
        error = "Linkage has an unknown identifier";
        return false;
    }
    if (host.linkage->start)
        CALL_MODULE("start routine", host.linkage->start());
    return true;
}

void unload_module()
{
    if (!host.module)
        return;
    run_lifecycle(step_kill, 0);
    if (host.linkage->stop)
        CALL_MODULE("stop routine", host.linkage->stop());
    FreeLibrary(host.module);
    host.module = 0;
}

static void call_routine(PlacedGauge &g, LifecycleStep step, uint32_t host_value)
{
    GaugeHeader *h = g.header;
    host.current_gauge = &g;
    switch (step) {
    case step_query: if (h->query) CALL_MODULE("query routine", h->query()); break;
    case step_install: if (h->install) CALL_MODULE("install routine", h->install(host_value)); break;
    case step_initialize: if (h->initialize) CALL_MODULE("initialize routine", h->initialize()); break;
    case step_update: if (h->update) CALL_MODULE("update routine", h->update()); break;
    case step_generate: if (h->generate) CALL_MODULE("generate routine", h->generate(host_value)); break;
    case step_draw: if (h->draw) CALL_MODULE("draw routine", h->draw()); break;
    case step_kill: if (h->kill) CALL_MODULE("kill routine", h->kill()); break;
    default: break;
    }
    host.current_gauge = 0;
}

void run_lifecycle(LifecycleStep step, uint32_t host_value)
{
    for (PlacedGauge &g : host.gauges)
        call_routine(g, step, host_value);
}

static const int panel_margin = 10;
static const int panel_gap = 16;

void place_gauges()
{
    host.gauges.clear();
    for (int i = 0; i < gauge_slots && host.linkage->gauges[i]; i++) {
        PlacedGauge g;
        g.header = host.linkage->gauges[i];
        ElementBase *top = g.header->elements ? g.header->elements[0] : 0;
        SIZE size = top ? picture_size(top->bitmap) : SIZE{0, 0};
        g.width = size.cx + (top ? top->x : 0);
        g.height = size.cy + (top ? top->y : 0);
        host.gauges.push_back(g);
    }
    /* Left to right in table order, wrapping at the panel's width. */
    int x = panel_margin, y = panel_margin, row_height = 0;
    const int panel_width = 900;
    for (PlacedGauge &g : host.gauges) {
        if (x > panel_margin && x + g.width > panel_width) {
            x = panel_margin;
            y += row_height + panel_gap;
            row_height = 0;
        }
        g.x = x;
        g.y = y;
        x += g.width + panel_gap;
        if (g.height > row_height)
            row_height = g.height;
    }
    run_lifecycle(step_query, 0);
    for (size_t i = 0; i < host.gauges.size(); i++)
        call_routine(host.gauges[i], step_install, (uint32_t)(0x100 + i));
    run_lifecycle(step_initialize, 0);
}

PlacedGauge *find_gauge(const char *name)
{
    for (PlacedGauge &g : host.gauges)
        if (lstrcmpA(g.header->name, name) == 0)
            return &g;
    return 0;
}

static bool inside(const MouseArea &a, int x, int y, int gauge_w, int gauge_h)
{
    /* An area of size 0 x 0 stands for the whole gauge. */
    int w = a.width, h = a.height;
    if (w == 0 && h == 0) {
        w = gauge_w;
        h = gauge_h;
    }
    return x >= a.x && y >= a.y && x < a.x + w && y < a.y + h;
}

bool click_gauge(PlacedGauge &g, int x, int y, uint32_t flags)
{
    /* The innermost area that holds the point, answers this event and has
     * a callback wins; parents open and close like brackets. */
    const MouseArea *hit = 0;
    int depth = 0, hit_depth = -1;
    for (const MouseArea *a = g.header->mouse; a && a->kind != area_end; a++) {
        if (a->kind == area_close) {
            depth--;
            continue;
        }
        int level = a->kind == area_parent ? depth++ : depth;
        if (a->callback && (a->mouse_flags & flags) && inside(*a, x, y, g.width, g.height) &&
            level >= hit_depth) {
            hit = a;
            hit_depth = level;
        }
    }
    if (!hit)
        return false;
    MousePoint point = {x - hit->x, y - hit->y};
    host.callbacks_running++;
    int32_t result = 0;
    CALL_MODULE("mouse callback", result = hit->callback(&point, flags));
    host.callbacks_running--;
    host.last_callback_result = result;
    host.have_callback_result = true;
    printf("click %s %d %d: callback returned %d\n", g.header->name, x, y, (int)result);
    fflush(stdout);
    return true;
}

#if defined(__i386__)
void report_unbalanced_stack(const char *what, long difference)
{
    fprintf(stderr, "pelmora-host: the module's %s left the stack pointer %ld bytes off: "
                    "its calling convention does not match the host's\n", what, difference);
    fflush(stderr);
    ExitProcess(4);
}
#endif
