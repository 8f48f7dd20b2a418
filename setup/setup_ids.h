/* Control ids of the setup window (setup.rc), shared with its test driver. */
#ifndef PELMORA_SETUP_IDS_H
#define PELMORA_SETUP_IDS_H

#define IDD_SETUP 100
#define SETUP_CAPTION "Pelmora Setup"

#define IDC_SIM_DIR 1001
#define IDC_SIM_BROWSE 1002
#define IDC_SIM_STATUS 1003
#define IDC_INSTALL 1004
#define IDC_INSTALL_STATUS 1005

#define IDC_SOURCE_KIND 1010
#define IDC_SOURCE 1011
#define IDC_SOURCE_BROWSE 1012
#define IDC_NAV 1013
#define IDC_NAV_BROWSE 1014
#define IDC_PREFIXES 1015
#define IDC_HARD_ONLY 1016
#define IDC_ICAO_ONLY 1017
#define IDC_MAKE 1018
#define IDC_STOP 1019
#define IDC_PROGRESS 1020
#define IDC_LOG 1021
#define IDC_NAV_LABEL 1022

#define IDC_PANEL_LINE 1030
#define IDC_COPY 1031
#define IDC_X 1032
#define IDC_Y 1033
#define IDC_PANEL_CFG 1034
#define IDC_PANEL_BROWSE 1035
#define IDC_WINDOW 1036
#define IDC_ADD_LINE 1037
#define IDC_PANEL_STATUS 1038

/* The source kinds, in the order of the IDC_SOURCE_KIND list: first the two
 * that need nothing but the simulator folder. */
enum SourceKind {
    source_scenery,       /* the simulator's own scenery library */
    source_bundled,       /* the world data files beside the program */
    source_xplane,
    source_fgdata,
    source_ourairports,
    source_files,
    source_kinds
};

#endif
