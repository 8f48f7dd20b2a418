#include "module_loader.h"

#include "module_call.h"
#include "panel.h"
#include "services.h"

#include <stdio.h>

static const char module_path[] = "\\GAUGES\\PELMORA.GAU";

bool load_module(std::string &error)
{
    if (host.module_path.empty()) {
        char here[MAX_PATH];
        DWORD n = GetCurrentDirectoryA(MAX_PATH, here);
        if (n == 0 || n >= MAX_PATH) {
            error = "cannot read the current directory";
            return false;
        }
        host.module_path = std::string(here) + module_path;
    }
    const char *path = host.module_path.c_str();
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
    host.linkage = 0;
    host.imports = 0;
    host.gauges.clear();
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

void place_gauges()
{
    host.gauges.clear();
    for (int i = 0; i < gauge_slots && host.linkage->gauges[i]; i++) {
        PlacedGauge g;
        g.header = host.linkage->gauges[i];
        host.gauges.push_back(g);
    }
    lay_out_panel(host.gauges);
    run_lifecycle(step_query, 0);
    for (size_t i = 0; i < host.gauges.size(); i++)
        call_routine(host.gauges[i], step_install, (uint32_t)(0x100 + i));
    run_lifecycle(step_initialize, 0);
}

