/*
 * The world data that comes with the package: the two data files beside the
 * setup program, made from FlightGear's world and named in the package's
 * DATA-README.txt, installed into the simulator's folder.
 *
 * The files go in as a conversion's do: each line is read as the gauge
 * reads it (pelmora-check's rules for a record, no control bytes) on its way
 * to a new file beside the old one, so a damaged or cut file is refused;
 * only when both are complete are they renamed in, as one pair
 * (convert/output_files.h).  A missing or damaged file, a stop, or a
 * failure to write leaves the simulator's files byte for byte as they were.
 * Portable: no Windows call of its own.
 */
#ifndef PELMORA_SETUP_BUNDLED_DATA_H
#define PELMORA_SETUP_BUNDLED_DATA_H

#include <string>

#include "common/report.h"
#include "job/conversion.h"

/* The package's readme beside the files; it names their data cycle. */
#define BUNDLED_README_NAME "DATA-README.txt"

/* Installs from_dir's Prwydata.txt and Pnavdata.txt into to_dir.  Every
 * message goes to report, with the figures and the data cycle; *unchanged
 * is set when to_dir has these very files already (nothing is written). */
ConversionStatus install_bundled_data(const std::string &from_dir, const std::string &to_dir,
                                      Report &report, ConversionResult *result, bool *unchanged);

/* "2013.10" from the readme's "data cycle 2013.10"; empty when it names none. */
std::string bundled_data_cycle(const std::string &from_dir);

#endif
