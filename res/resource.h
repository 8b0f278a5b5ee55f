// Identifiers of Vorkel's resources, shared by the resource script and the code.
#ifndef VORKEL_RES_RESOURCE_H
#define VORKEL_RES_RESOURCE_H

#define IDD_ABOUT 100    // About box
#define IDD_MAIN 102     // the digest dialog
#define IDI_MAIN 128     // the program's icon
#define IDS_ABOUT 128    // the About item of the main window's system menu
// The verdict on the digests against those copied to the clipboard: titles
// and texts of the balloon at the digest box (or of the message box that
// stands in for it).
#define IDS_MATCH_TITLE 129        // every digest there is the file's
#define IDS_MATCH 130              // a format: the names of the digests
#define IDS_MISMATCH_TITLE 131     // some digest there is not
#define IDS_MISMATCH 132           // a format: the names of those
#define IDS_CLIPBOARD_VALUE 133    // followed by the one value there of the digest that differs
#define IDS_CANNOT_CHECK_TITLE 134 // no digest to compare with
#define IDS_OTHER_DIGEST 135       // a format: the number of digits of the value there
#define IDS_NO_DIGEST 136
#define IDS_FILE_VALUE 137         // followed by the file's own value of that digest
#define IDS_UNSUPPORTED 138        // only digests of algorithms not computed here
#define IDS_CLIPBOARD_BUSY 139     // another program holds the clipboard
#define IDS_LIST_SEPARATOR 140     // between the names of digests
#define IDC_PATH 1000    // path box
#define IDC_DIGEST 1001  // digest box
#define IDC_BROWSE 1002  // Browse button
#define IDC_GENERATE 1003 // Generate button

// The system-menu command of the About item. Commands of the system menu
// arrive in WM_SYSCOMMAND, whose low four bits the system uses for itself,
// and those from 0xF000 up are its own: ours is a multiple of 16 below that.
#define IDM_ABOUT 0x0010

#endif
