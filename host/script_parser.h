/*
 * The script's text: a line is a command and its words; "double quotes" hold
 * blanks, and \n, \r, \t, \z (Ctrl-Z) and \" inside them.  '#' starts a
 * comment line.
 */
#ifndef PELMORA_HOST_SCRIPT_PARSER_H
#define PELMORA_HOST_SCRIPT_PARSER_H

#include <string>
#include <vector>

#include "script_support.h"

/* Reads the script at path into steps; every command must be one of known.
 * False with "FILE:LINE: reason" (or "cannot open script FILE") in error. */
bool parse_script(const char *path, const CommandTable &known, std::vector<Step> &steps,
                  std::string &error);

#endif
