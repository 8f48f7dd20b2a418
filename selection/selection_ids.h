/*
 * Control ids of the selection dialog; the formats of its list entries are
 * in searches.h.  Included by the resource script and by the C++ sources:
 * plain #defines only.
 */
#ifndef PELMORA_SELECTION_IDS_H
#define PELMORA_SELECTION_IDS_H

/* ---- Dialog template and caption ---- */
#define IDD_SELECTION           "TESTDIALOG"
#define SELECTION_CAPTION       "Runway / Navaid Selection (Build 5)"
#define IDB_V1_GAUGE            4096

/* ---- Search and results ---- */
#define IDC_RESULTS             1000
#define IDC_ICAO                1001
#define IDC_PICK                1003
#define IDC_EXIT                1004
#define IDC_FIND                1005

/* ---- Mode buttons ---- */
#define IDC_AIRPORTS            102
#define IDC_NAVAIDS             103

/* ---- Autopilot presets ---- */
#define IDC_HDG                 1006
#define IDC_ALT                 1007
#define IDC_IAS                 1008
#define IDC_MACH                1009
#define IDC_VS                  1010

#endif
