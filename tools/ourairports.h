/*
 * Reader of the OurAirports CSV files: airports.csv, runways.csv and,
 * optionally, navaids.csv, each plain or gzip-compressed (name.csv.gz), from
 * one directory.  Columns are found by their header names, so the order of
 * columns does not matter; a file without a column that the reader needs is
 * fatal.  CSV parsing is libcsv's (strict: a stray quote is fatal, as the
 * rest of the file could not be trusted).
 *
 * The airports are read first and held (the runways are joined to them by
 * the airport's ident), then each goes to the converter in airports.csv
 * order.  navaids.csv lists no landing systems with their runways, so with
 * this source the landing systems come from a nav.dat read before it.
 */
#ifndef PELMORA_TOOLS_OURAIRPORTS_H
#define PELMORA_TOOLS_OURAIRPORTS_H

#include <string>

#include "converter.h"
#include "report.h"
#include "xplane.h"

/* False when this build has no CSV support (the Windows build without
 * libcsv). */
bool ourairports_supported();

/* The path of stem.csv or, failing that, stem.csv.gz in directory; empty
 * when neither exists. */
std::string find_csv(const std::string &directory, const char *stem);

/* Reads the airports and runways; with navaids, navaids.csv too. */
bool read_ourairports(const std::string &directory, bool navaids, Converter &converter,
                      Report &report, ReadOutcome *outcome);

#endif
