/*
 * The module's entry point.  The module is linked without the compiler's
 * start-up code and runtime libraries (cmake/windows.cmake): what they
 * bring, a C++ runtime with its locks, thread data and locale code, would
 * be most of the file and is built for later processors than the
 * simulator's.  What start-up work the module needs is done here: its
 * static objects made before the simulator reads a record (the order
 * tables of the quick-pick list are built by a constructor, which neither
 * allocates nor registers a destructor), and nothing at all on the way out.
 */
#include <windows.h>

typedef void (*StaticConstructor)();

/* The linker's list of the objects' constructors: -1, the constructors,
 * 0.  Run last to first, as the compiler's own start-up code runs them. */
extern "C" StaticConstructor __CTOR_LIST__[];

static void run_static_constructors()
{
    size_t count = 0;
    while (__CTOR_LIST__[count + 1])
        count++;
    for (size_t i = count; i > 0; i--)
        __CTOR_LIST__[i]();
}

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        run_static_constructors();
    return TRUE;
}
