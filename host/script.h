/* Scripts that drive the host as a pilot would (commands: script_*.cpp). */
#ifndef PELMORA_HOST_SCRIPT_H
#define PELMORA_HOST_SCRIPT_H

#include <string>

bool load_script(const char *path, std::string &error);
/* Runs the next script step; called on the host window's timer. */
void script_tick();
bool script_finished();
/* Runs the steps left once the host's message loop has ended. */
void finish_script();

#endif
