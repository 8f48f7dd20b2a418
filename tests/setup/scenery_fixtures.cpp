/*
 * The converter's fixture scenery trees (tests/tools/make_scenery_fixtures.cpp)
 * made by a Windows build of their maker, for the setup window's session
 * under Wine: the trees are then written through the same calls and paths
 * the window reads them with, the absolute Local= a Windows path.
 *
 *   setup-scenery-fixtures.exe OUT
 *
 * Two POSIX calls stand in: mkdir with its mode, and the symbolic link that
 * leads nowhere, which becomes a folder under the file's name (a .bgl that
 * cannot be read as a file either way).
 */
#include <direct.h>
#include <errno.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int mkdir_with_mode(const char *path, int) { return _mkdir(path); }
static int link_leading_nowhere(const char *, const char *path) { return _mkdir(path); }

#define mkdir mkdir_with_mode
#define symlink link_leading_nowhere
#include "../tools/make_scenery_fixtures.cpp"
