// Dialog templates of the dialog font tests.
#define IDD_CHINESE_IN_LATIN_FACE 400         // DIALOGEX: Chinese texts, a Latin face
#define IDD_CHINESE_IN_LATIN_FACE_CLASSIC 401 // the same as a classic DIALOG
#define IDD_LATIN_IN_LATIN_FACE 402           // Latin texts, a Latin face
#define IDC_LABEL 410
#define IDC_BUTTON 411
