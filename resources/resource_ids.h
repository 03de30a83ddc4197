#ifndef QUILLMESH_RESOURCE_IDS_H
#define QUILLMESH_RESOURCE_IDS_H

// The ids of the program's resources and of the configuration dialog's controls, shared by
// resources/quillmesh.rc, the code that uses them and its tests. Plain macros, since the resource
// compiler reads this file too.

#define MESH_RESOURCE 126
#define TEXTURE_RESOURCE 127
#define ICON_RESOURCE 100
#define CONFIG_DIALOG 2003

#define IDC_OK 1011
#define IDC_CANCEL 1012
#define IDC_COLOUR_16 1035
#define IDC_COLOUR_24 1036 // labelled "32Bit"
#define IDC_DEPTH_16 1037
#define IDC_DEPTH_24 1038
#define IDC_RESOLUTION_640 1045
#define IDC_RESOLUTION_800 1046
#define IDC_RESOLUTION_1024 1047
#define IDC_RESOLUTION_1152 1048
#define IDC_RESOLUTION_1280 1049
#define IDC_RESOLUTION_1600 1050
#define IDC_STENCIL_NO_ALPHA 1051
#define IDC_ALPHA_NO_STENCIL 1052
#define IDC_NO_STENCIL_NO_ALPHA 1053
#define IDC_WIREFRAME 1056
#define IDC_DOTTED 1057
#define IDC_TEXTURE_MAPPING 1058
#define IDC_ALL_OF_THEM 1059
#define IDC_ABOUT 1060
#define IDC_ENVMAP 1062
#define IDC_TIMER 1063
#define IDC_DOT_SIZE 1070
#define IDC_LINE_SIZE 1071

#endif
