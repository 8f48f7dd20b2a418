#include "imports.h"

/* {service-table id, pointer the simulator fills}, then the end of the list. */
extern "C" {
ModuleImports ImportTable = {{
    {host_services_id, 0},
    {0, 0},
}};
}
