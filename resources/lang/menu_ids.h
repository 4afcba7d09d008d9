// Menu resource ids and menu command ids, shared by the menu scripts of all
// thirteen languages and by the program code. Every language uses the same
// command ids; only the texts differ.
#pragma once

// Menu resources per language: main menu, thumbnail context menu, editor menu.
#define IDR_MENU_MAIN_SC 231
#define IDR_MENU_MAIN_TC 275
#define IDR_MENU_MAIN_EN 129
#define IDR_MENU_MAIN_FR 276
#define IDR_MENU_MAIN_GE 277
#define IDR_MENU_MAIN_RU 282
#define IDR_MENU_MAIN_PT 279
#define IDR_MENU_MAIN_SP 280
#define IDR_MENU_MAIN_IT 278
#define IDR_MENU_MAIN_DU 274
#define IDR_MENU_MAIN_KR 281
#define IDR_MENU_MAIN_JP 283
#define IDR_MENU_MAIN_VN 284

#define IDR_MENU_CONTEXT_SC 263
#define IDR_MENU_CONTEXT_TC 273
#define IDR_MENU_CONTEXT_EN 248
#define IDR_MENU_CONTEXT_FR 265
#define IDR_MENU_CONTEXT_GE 266
#define IDR_MENU_CONTEXT_RU 271
#define IDR_MENU_CONTEXT_PT 268
#define IDR_MENU_CONTEXT_SP 269
#define IDR_MENU_CONTEXT_IT 267
#define IDR_MENU_CONTEXT_DU 264
#define IDR_MENU_CONTEXT_KR 270
#define IDR_MENU_CONTEXT_JP 272
#define IDR_MENU_CONTEXT_VN 285

#define IDR_MENU_EDITOR_SC 167
#define IDR_MENU_EDITOR_TC 308
#define IDR_MENU_EDITOR_EN 234
#define IDR_MENU_EDITOR_FR 316
#define IDR_MENU_EDITOR_GE 315
#define IDR_MENU_EDITOR_RU 310
#define IDR_MENU_EDITOR_PT 311
#define IDR_MENU_EDITOR_SP 309
#define IDR_MENU_EDITOR_IT 314
#define IDR_MENU_EDITOR_DU 317
#define IDR_MENU_EDITOR_KR 312
#define IDR_MENU_EDITOR_JP 313
#define IDR_MENU_EDITOR_VN 286

// Main menu, popup 0 "File". 33281..33285 are also the thumbnail context menu.
#define ID_FILE_SELECT_FOLDER 32773
#define ID_FILE_OPEN 33281
#define ID_FILE_DELETE 33282
#define ID_FILE_COPY_IMAGE 33283
#define ID_FILE_COPY_FILE 33284
#define ID_FILE_SAVE_AS 33285
// Focus stacking of the selection (File popup and the thumbnail context menu).
#define ID_FILE_STACK_FOCUS 33303
#define ID_FILE_SAVE_AS_DISPLAYED 32778
#define ID_FILE_EXIT 32779

// Main menu, popup 1 "Setting".
#define ID_SETTING_IMAGE 32804
#define ID_SETTING_VIDEO_COMPRESSION 32821
#define ID_SETTING_CROSSING_CURSOR 32819
#define ID_SETTING_DATE_TIME 32784
#define ID_SETTING_LANGUAGE 32966

// "Resolution" submenu of "Setting". Commands 60000..60200 are resolution
// choices; the caption item only labels the preview / photo pairs.
#define ID_RESOLUTION_FIRST 60000
#define ID_RESOLUTION_LAST 60200
#define ID_RESOLUTION_160X120 60001
#define ID_RESOLUTION_176X144 60002
#define ID_RESOLUTION_320X240 60003
#define ID_RESOLUTION_352X288 60004
#define ID_RESOLUTION_640X480 60005
#define ID_RESOLUTION_800X600 60006
#define ID_RESOLUTION_1280X960 60007
#define ID_RESOLUTION_1280X1024 60008
#define ID_RESOLUTION_1600X1200 60009
#define ID_RESOLUTION_640X480_640X480 60101
#define ID_RESOLUTION_800X600_800X600 60102
#define ID_RESOLUTION_800X600_2048X1536 60103
#define ID_RESOLUTION_800X600_2560X1920 60104
#define ID_RESOLUTION_800X600_3488X2616 60105
#define ID_RESOLUTION_1280X960_1280X960 60106
#define ID_RESOLUTION_1280X960_2048X1536 60107
#define ID_RESOLUTION_1280X960_2560X1920 60108
#define ID_RESOLUTION_CAPTION 32827

// Main menu, popup 2 "Capture".
#define ID_CAPTURE_PHOTO 32798
#define ID_CAPTURE_VIDEO 32799
#define ID_CAPTURE_TIMELAPSE 32800

// Main menu, popup 3 "Help".
#define ID_HELP_MANUAL 32801
#define ID_HELP_UPDATE 32824
#define ID_HELP_ABOUT 32802

// Editor menu, sub-menu 0 "Drawing": tools and drawing pen settings.
#define ID_DRAW_LINE 32803
#define ID_DRAW_ARROW 32804
#define ID_DRAW_FREEHAND 32805
#define ID_DRAW_RECTANGLE 32806
#define ID_DRAW_ELLIPSE 32807
#define ID_DRAW_STYLE 32827
#define ID_DRAW_WIDTH 32826
#define ID_DRAW_COLOR 32825

// Editor menu, sub-menu 1 "Measure": measuring tools.
#define ID_MEASURE_CALIBRATION 32814
#define ID_MEASURE_LINE_ANY 32874
#define ID_MEASURE_LINE_STRAIGHT 32875
#define ID_MEASURE_LINE_45 32876
#define ID_MEASURE_CONTINUOUS_LINE 32809
#define ID_MEASURE_POLYGON 32810
#define ID_MEASURE_CIRCLE_RADIUS 32811
#define ID_MEASURE_CIRCLE_DIAMETER 32812
#define ID_MEASURE_CIRCLE_3POINTS 32799
#define ID_MEASURE_ARC_3POINTS 32800
#define ID_MEASURE_ANGLE_3POINTS 32801
#define ID_MEASURE_ANGLE_4POINTS 32802

// Editor menu, sub-menu 1 "Measure": measurement pen and label settings.
#define ID_MEASURE_STYLE 32851
#define ID_MEASURE_WIDTH 32852
#define ID_MEASURE_COLOR 32853
#define ID_MEASURE_TEXT_PROPERTIES 32832

// "Set units" sub-menu (position 18 of "Measure"); unit = id - ID_UNIT_MM.
#define ID_UNIT_MM 32855
#define ID_UNIT_UM 32856
#define ID_UNIT_MIL 32857
#define ID_UNIT_INCH 32858

// Editor menu, sub-menu 1 "Measure": picture and capture magnification.
#define ID_MAG_SET_PICTURE 32892
#define ID_MAG_SET_CAPTURE 32893
#define ID_MAG_RESET_PICTURE 32894
#define ID_MAG_RESET_CAPTURE 32895

// Calibrated results: the live picture's scale bar (Setting), the editor's scale bar tool and
// its table of measurements (the end of the editor's "Measure" sub-menu).
#define ID_MEASURE_SCALE_BAR 33300
#define ID_MEASURE_TABLE 33301
#define ID_SETTING_SCALE_BAR 33302

// Editor menu: positions inside sub-menu 1 that the editor addresses.
#define MEASURE_MENU_FIRST_LENGTH_TOOL_POS 4
#define MEASURE_MENU_LAST_LENGTH_TOOL_POS 12
#define MEASURE_MENU_UNITS_POS 18
