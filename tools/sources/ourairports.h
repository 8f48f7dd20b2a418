/*
 * Reader of the OurAirports CSV files: airports.csv, runways.csv and,
 * optionally, navaids.csv, each plain or gzip-compressed (name.csv.gz), from
 * one directory.  Columns are found by their header names, so the order of
 * columns does not matter; a file without a column that the reader needs is
 * fatal.  The CSV rows are read by csv_reader.h.
 *
 * The airports are read first and held (the runways are joined to them by
 * the airport's ident), then each goes to the converter in airports.csv
 * order.  navaids.csv lists no landing systems with their runways, so with
 * this source the landing systems come from a nav.dat read before it.
 */
#ifndef PELMORA_TOOLS_OURAIRPORTS_H
#define PELMORA_TOOLS_OURAIRPORTS_H

#include <string>

#include "convert/converter.h"
#include "common/report.h"
#include "xplane.h"

/* The path of stem.csv or, failing that, stem.csv.gz in directory; empty
 * when neither exists. */
std::string find_csv(const std::string &directory, const char *stem);

/* Reads the airports and runways; with navaids, navaids.csv too. */
bool read_ourairports(const std::string &directory, bool navaids, Converter &converter,
                      Report &report, ReadOutcome *outcome);

#endif
