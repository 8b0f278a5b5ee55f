// Resources of the class library's tests.
#define IDD_PROBE 200
#define IDC_FIRST 201
#define IDC_SECOND 202
#define IDC_GO 203
#define IDS_GREETING 300
#define IDS_LONG 301
#define IDS_LONG_LATIN 302
#define IDS_MISSING 303 // in the block of the strings above, but not in the table
