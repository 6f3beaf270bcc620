#pragma once
// Resource and control identifiers of the settings dialogs, shared by the resource script and
// the dialogs' code (only #defines: the resource compiler reads this file too).

#define IDD_CONFIGURE_RULER 203
#define IDD_ABOUT 204
#define IDD_PREFERENCES 218

// Configure: the paper and model unit lists and value edits.
#define IDC_PAPER_UNIT 204
#define IDC_MODEL_UNIT 205
#define IDC_PAPER_VALUE 208
#define IDC_MODEL_VALUE 209

// Preferences: the three raster qualities (best first) and the opaque check box.
#define IDC_QUALITY_HIGH 220
#define IDC_QUALITY_MEDIUM 219
#define IDC_QUALITY_NORMAL 217
#define IDC_OPAQUE_RASTER 215

// About: the version text and the web address that opens the home page.
#define IDC_ABOUT_VERSION 102
#define IDC_ABOUT_LINK 211

// The About box's pictures are named resources: "QUILLONDBMP" and "QUILLONBMP".
