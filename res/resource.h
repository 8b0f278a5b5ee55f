// Identifiers of Vorkel's resources, shared by the resource script and the code.
#ifndef VORKEL_RES_RESOURCE_H
#define VORKEL_RES_RESOURCE_H

#define IDD_ABOUT 100    // About box
#define IDD_MAIN 102     // the digest dialog
#define IDI_MAIN 128     // the program's icon
#define IDS_ABOUT 128    // the About item of the main window's system menu
#define IDC_PATH 1000    // path box
#define IDC_DIGEST 1001  // digest box
#define IDC_BROWSE 1002  // Browse button
#define IDC_GENERATE 1003 // Generate button

// The system-menu command of the About item. Commands of the system menu
// arrive in WM_SYSCOMMAND, whose low four bits the system uses for itself,
// and those from 0xF000 up are its own: ours is a multiple of 16 below that.
#define IDM_ABOUT 0x0010

#endif
