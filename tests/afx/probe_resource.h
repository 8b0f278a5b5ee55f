// Resources of the class library's tests.
#define IDD_PROBE 200
#define IDC_FIRST 201
#define IDC_SECOND 202
#define IDC_GO 203
#define IDS_GREETING 300
#define IDS_LONG 301
#define IDS_LONG_LATIN 302
#define IDS_MISSING 303 // in the block of the strings above, but not in the table
// Texts that put a character across the end of the first buffer LoadString
// tries (255 bytes and the terminator), wherever its length in the code page
// puts it: 252 + n ASCII letters (n from 0 to 3), then 8 times é, 中 or 𠀀,
// then "end". The text of n and the character's index c has the ID
// IDS_CUT_FIRST + 4 * c + n.
#define IDS_CUT_FIRST 320
// Templates of the dialog position tests, each at a place of its own.
#define IDD_AT_ORIGIN 210    // at (0, 0)
#define IDD_ABSALIGN 211     // at (0, 0), DS_ABSALIGN
#define IDD_OWN_PLACE 212    // at (30, 20)
#define IDD_ON_LEFT_EDGE 213 // at (0, 20)
#define IDD_LARGER_THAN_SCREEN 214 // at (0, 0), wider and taller than any work area
