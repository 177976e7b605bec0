/* Resource ids shared by lumigrab.rc and the C++ code; plain #defines so that
   both windres and the compiler read them. */
#ifndef LUMIGRAB_RESOURCE_H
#define LUMIGRAB_RESOURCE_H

/* Menus, accelerators, icons, cursors, bitmaps, sound */
#define IDD_ABOUTBOX                100
#define IDR_MAINFRAME               128
#define IDR_IMAGETYPE               129
#define IDC_HAND_CLOSED             140
#define IDC_HAND_OPEN               141
#define IDR_TRAYMENU                150
#define IDR_PINMENU                 157
#define IDB_TOOLBAR_DISABLED        151
#define IDB_TOOLBAR_MASK            152
#define IDB_TOOLBAR                 153
#define IDB_ANNOTATE_DISABLED       154
#define IDB_ANNOTATE_MASK           155
#define IDB_ANNOTATE                156
/* The same six strips drawn for 144 and 192 DPI */
#define IDB_TOOLBAR_DISABLED_24     161
#define IDB_TOOLBAR_MASK_24         162
#define IDB_TOOLBAR_24              163
#define IDB_ANNOTATE_DISABLED_24    164
#define IDB_ANNOTATE_MASK_24        165
#define IDB_ANNOTATE_24             166
#define IDB_TOOLBAR_DISABLED_32     171
#define IDB_TOOLBAR_MASK_32         172
#define IDB_TOOLBAR_32              173
#define IDB_ANNOTATE_DISABLED_32    174
#define IDB_ANNOTATE_MASK_32        175
#define IDB_ANNOTATE_32             176
#define IDR_SHUTTER                 190

/* Strings */
#define IDS_DEFAULT_PREFIX          200
#define IDS_OPEN_FILTER_ALL         201
#define IDS_EDITOR_FILTER           202
#define IDS_OPTIONS_TITLE           203
#define IDS_RESTORE_DEFAULTS        204
#define IDS_MODE_FULLSCREEN         207
#define IDS_MODE_WINDOW             208
#define IDS_MODE_REGION             209
#define IDS_MODE_OBJECT             210
#define IDS_AUX_WINDOW              211
#define IDS_CHOOSE_FOLDER           212
#define IDS_SAVE_PROMPT             213
#define IDS_EDITOR_NAME             214
#define IDS_EDITOR_PATH             215
#define IDS_ADD_EDITOR              217
#define IDS_WINDOW_MENU             219
#define IDS_CONFIG_READ_FAILED      300
#define IDS_CONFIG_WRITE_FAILED     301
#define IDS_HOTKEY_FULLSCREEN_FAILED 302
#define IDS_HOTKEY_MODAL_FAILED     303
#define IDS_ENGINE_MISSING          304
#define IDS_HOTKEY_REQUIRED         307
#define IDS_PREFIX_INVALID          308
#define IDS_PATH_INVALID            309
#define IDS_UNSUPPORTED_TYPE        310
#define IDS_OPEN_FAILED             311

/* A path longer than the program's file functions take */
#define IDS_PATH_TOO_LONG           360

/* Failed saves and opens: the file's name and the reason */
#define IDS_SAVE_FILE_FAILED        330
#define IDS_LOAD_FILE_FAILED        331
#define IDS_UNRECOGNIZED_IMAGE      332
#define IDS_IMAGE_TOO_LARGE         333

/* Copying an image to the clipboard */
#define IDS_COPY_FAILED             334

/* Opening a file that ends early; copying without the memory for it */
#define IDS_IMAGE_INCOMPLETE        370
#define IDS_COPY_NO_MEMORY          371
#define ID_INDICATOR_SIZE           32900
#define ID_INDICATOR_ZOOM           32901
#define IDS_READY                   57345

/* Dialog controls */
#define IDC_CONTACT_LINK            1022

/* The Options sheet: its page templates and their controls. Ids repeat between
   pages; each page only asks for its own. */
#define IDD_OPTIONS_GENERAL         101
#define IDD_OPTIONS_SAVE            102
#define IDD_OPTIONS_HOTKEYS         103
#define IDD_OPTIONS_AUX             104
#define IDC_RESTORE_DEFAULTS        1000
#define IDC_INCLUDE_CURSOR          1003
#define IDC_PLAY_SOUND              1007
#define IDC_HIDE_MAIN_WINDOW        1004
#define IDC_CAPTURE_DELAY           1005
#define IDC_SHOW_AFTER_CAPTURE      1021
#define IDC_SIMULATE_PRINTSCREEN    1023
#define IDC_AUTO_SAVE               1024
#define IDC_SAVE_FOLDER             1025
#define IDC_BROWSE_FOLDER           1005
#define IDC_SAVE_TYPE               1027
#define IDC_NAME_PREFIX             1028
#define IDC_NAME_EXAMPLE            1029
#define IDC_FULLSCREEN_HOTKEY_ON    1001
#define IDC_FULLSCREEN_HOTKEY       1002
#define IDC_MODAL_HOTKEY_ON         1006
#define IDC_MODAL_HOTKEY            1007
#define IDC_MODAL_MODE              1008
#define IDC_MAGNIFICATION           1001
#define IDC_SKIN_LIST               1002
#define IDC_SKIN_PREVIEW            1003
#define IDS_NO_SKIN_PREVIEW         380
#define IDS_FOLDER_TOO_LONG         381

/* The annotation toolbar's title */
#define IDS_ANNOTATION_TOOLBAR      390
#define IDS_PIN_NO_MEMORY           395

/* The last region that is gone from the screen; where a capture went without a document */
#define IDS_LAST_REGION_OFF_SCREEN  440
#define IDS_CAPTURE_SAVED_AS        441
#define IDS_CAPTURE_COPIED          442

/* Commands: tray */
#define ID_TRAY_SHOW                32776
#define ID_TRAY_EXIT                32777

/* Commands: capture */
#define ID_CAPTURE_FULLSCREEN       32800
#define ID_CAPTURE_WINDOW           32801
#define ID_CAPTURE_REGION           32802
#define ID_CAPTURE_OBJECT           32803
#define ID_CAPTURE_INCLUDE_CURSOR   32804

/* Commands: zoom */
#define ID_ZOOM_IN                  32805
#define ID_ZOOM_OUT                 32806
#define ID_ZOOM_FIT                 32807
#define ID_ZOOM_ACTUAL              32808
#define ID_ZOOM_10                  32810
#define ID_ZOOM_25                  32811
#define ID_ZOOM_50                  32812
#define ID_ZOOM_75                  32813
#define ID_ZOOM_100                 32814
#define ID_ZOOM_150                 32815
#define ID_ZOOM_200                 32816
#define ID_ZOOM_400                 32817
#define ID_ZOOM_600                 32818
#define ID_ZOOM_800                 32819
#define ID_ZOOM_1200                32820
#define ID_ZOOM_1600                32821
#define ID_ZOOM_3200                32822

/* Commands: options and help */
#define ID_VIEW_OPTIONS             32823
#define ID_HELP_TOPICS              32824

/* Commands: the capture conveniences, pinned images, closing */
#define ID_CAPTURE_LAST_REGION      32830
#define ID_CAPTURE_DELAY_NONE       32831
#define ID_CAPTURE_DELAY_3          32832
#define ID_CAPTURE_DELAY_5          32833
#define ID_CAPTURE_DELAY_10         32834
#define ID_TRAY_CANCEL_DELAY        32835
#define ID_IMAGE_PIN                32836
#define ID_PIN_OPEN_AS_DOCUMENT     32837
#define ID_PIN_CLOSE                32838
#define ID_PIN_CLOSE_ALL            32839
#define ID_WINDOW_CLOSE_ALL         32840
#define ID_FILE_CLOSE               57602
#define IDD_OPTIONS_MORE            109

/* The 更多 page, the countdown and the third hotkey */
#define IDC_COUNTDOWN               1040
#define IDC_COPY_AFTER_CAPTURE      1041
#define IDC_NO_DOCUMENT             1042
#define IDC_PIN_AFTER_CAPTURE       1043
#define IDC_LAST_REGION_HOTKEY_ON   1044
#define IDC_LAST_REGION_HOTKEY      1045
#define IDS_COUNTDOWN_NONE          450
#define IDS_COUNTDOWN_SECONDS       451
#define IDS_COUNTDOWN_TIP           452
#define IDS_HOTKEY_LAST_REGION_FAILED 453
#define IDS_MORE_OPTIONS_WRITE_FAILED 454
#define IDS_START_WITH_WINDOWS_FAILED 455
#define IDS_RUNNING_COPY_NOT_ANSWERING 456
#define IDS_COUNTDOWN_REFUSED       3700
#define IDC_START_WITH_WINDOWS      1046

/* Printing and closing every image: their messages and the question at 全部关闭 */
#define IDS_NO_PRINTER              430
#define IDS_PRINT_FAILED            431
#define IDS_CLOSE_ALL_PROMPT        432
#define IDD_CLOSE_ALL               115
#define IDC_CLOSE_ALL_ICON          1090
#define IDC_CLOSE_ALL_TEXT          1091
#define IDC_SAVE_ALL                1092
#define IDC_DISCARD_ALL             1093

/* Commands: the annotation tools, in tool order, and their properties */
#define ID_TOOL_HAND                33000
#define ID_TOOL_SELECT              33001
#define ID_TOOL_ARROW               33002
#define ID_TOOL_LINE                33003
#define ID_TOOL_RECTANGLE           33004
#define ID_TOOL_ELLIPSE             33005
#define ID_TOOL_PEN                 33006
#define ID_TOOL_HIGHLIGHTER         33007
#define ID_TOOL_TEXT                33008
#define ID_TOOL_STEP                33009
#define ID_TOOL_REDACT              33010
#define ID_TOOL_MOSAIC              33011
#define ID_TOOL_CROP                33012
#define ID_ANNOTATE_UNDO            33020
#define ID_ANNOTATE_REDO            33021
#define ID_ANNOTATE_COLOUR          33030
#define ID_ANNOTATE_COLOUR_FIRST    33031
#define ID_ANNOTATE_COLOUR_LAST     33038
#define ID_ANNOTATE_MORE_COLOURS    33039
#define ID_ANNOTATE_WIDTH           33040
#define ID_ANNOTATE_FILL            33041
#define ID_ANNOTATE_FILL_NONE       33042
#define ID_ANNOTATE_FILL_SOLID      33043
#define ID_ANNOTATE_FILL_HALF       33044
#define ID_ANNOTATE_FONT            33045
#define ID_ANNOTATE_MOSAIC          33046
#define ID_ANNOTATE_MOSAIC_FIRST    33047
#define ID_ANNOTATE_MOSAIC_LAST     33052

/* Commands: external editors */
#define ID_EDITORS                  40000
#define ID_EDITOR_FIRST             40001
#define ID_EDITOR_LAST              49999
#define ID_EDITOR_SETTINGS          50000

/* Commands: the conventional file, window, view and help ids */
#define ID_FILE_OPEN                57601
#define ID_FILE_SAVE                57603
#define ID_FILE_SAVE_AS             57604
#define ID_FILE_PRINT               57607
#define ID_EDIT_COPY                57634
#define ID_WINDOW_ARRANGE           57649
#define ID_WINDOW_CASCADE           57650
#define ID_WINDOW_TILE_HORZ         57651
#define ID_APP_ABOUT                57664
#define ID_APP_EXIT                 57665
#define ID_NEXT_PANE                57680
#define ID_PREV_PANE                57681
#define ID_VIEW_TOOLBAR             59392
#define ID_VIEW_STATUS_BAR          59393

/* External editors: the list dialog, the add dialog and their controls */
#define IDD_EDITORS                 105
#define IDD_ADD_EDITOR              106
#define IDC_BROWSE_EDITOR           1005
#define IDC_EDITOR_LIST             1030
#define IDC_EDITOR_UP               1031
#define IDC_EDITOR_DOWN             1032
#define IDC_EDITOR_ADD              1033
#define IDC_EDITOR_REMOVE           1034
#define IDC_EDITOR_RENAME           1035
#define IDC_EDITOR_PROMPT           1036
#define IDC_EDITOR_PATH             1037
#define IDC_SYSTEM_PAINT            1032
#define IDS_EDITOR_START_FAILED     320

/* Marks a file holds that cannot be restored; a crop that cannot be done */
#define IDS_MARKS_NOT_RESTORED      3900
#define IDS_CROP_FAILED             3901
#define IDS_MARKS_DAMAGED           3902

/* The add-editor dialog's messages */
#define IDS_EDITOR_NOT_FOUND        400

/* A name from the command line or a drop that the code page cannot hold (%s its form there) */
#define IDS_UNUSABLE_FILE_NAME      3600

/* The capture desk */
#define ID_DESK_PIN                 33100
#define ID_DESK_SAVE                33101
#define ID_DESK_OPEN_DOCUMENT       33102
#define ID_DESK_COPY                33103
#define ID_DESK_CANCEL              33104

/* The capture desk's toolbar: its strips, title and tooltips */
#define IDB_DESK_DISABLED           180
#define IDB_DESK_MASK               181
#define IDB_DESK                    182
#define IDB_DESK_DISABLED_24        183
#define IDB_DESK_MASK_24            184
#define IDB_DESK_24                 185
#define IDB_DESK_DISABLED_32        186
#define IDB_DESK_MASK_32            187
#define IDB_DESK_32                 188
#define IDS_DESK_TOOLBAR            4020
#define IDS_DESK_TIP_UNDO           4021
#define IDS_DESK_TIP_REDO           4022
#define IDS_DESK_TIP_PIN            4023
#define IDS_DESK_TIP_SAVE           4024
#define IDS_DESK_TIP_OPEN_DOCUMENT  4025
#define IDS_DESK_TIP_COPY           4026
#define IDS_DESK_TIP_CANCEL         4027

/* Capture and mark up: the command, its hotkey's refusal, its options on the 更多 page */
#define ID_CAPTURE_MARKUP           32841
#define IDS_HOTKEY_MARKUP_FAILED    4100
#define IDS_DESK_FLATTEN_FAILED     4101
#define IDC_DESK_FOR_ALL_CAPTURES   1100
#define IDC_MARKUP_HOTKEY_ON        1101
#define IDC_MARKUP_HOTKEY           1102

/* The long screenshot: the command, the desk's button, the preview's buttons and texts */
#define ID_CAPTURE_LONGSHOT         32842
#define ID_DESK_LONGSHOT            33110
#define ID_LONGSHOT_DONE            33120
#define ID_LONGSHOT_CANCEL          33121
#define ID_LONGSHOT_AUTO            33122
#define IDS_DESK_TIP_LONGSHOT       4028
#define IDS_LONGSHOT_HEIGHT         4200
#define IDS_LONGSHOT_HINT           4201
#define IDS_LONGSHOT_PAGE_END       4202
#define IDS_LONGSHOT_NO_MATCH       4203
#define IDS_LONGSHOT_ENDED_NO_MATCH 4204
#define IDS_LONGSHOT_LIMIT          4205
#define IDS_LONGSHOT_FAILED         4206
#define IDS_LONGSHOT_DONE           4207
#define IDS_LONGSHOT_CANCEL         4208
#define IDS_LONGSHOT_AUTO           4209
#define IDS_LONGSHOT_TOO_SMALL      4210
#define IDS_LONGSHOT_PREVIEW        4211
#define IDS_LONGSHOT_SCROLL_BACK    4212

/* Reading text: the command, the desk's button, the result window's controls and texts */
#define ID_IMAGE_READ_TEXT          32843
#define ID_DESK_READ_TEXT           33111
#define IDS_DESK_TIP_READ_TEXT      4029
#define IDC_OCR_PICTURE             1110
#define IDC_OCR_TEXT                1111
#define IDC_OCR_STATUS              1112
#define IDC_OCR_PROGRESS            1113
#define IDC_OCR_COPY_ALL            1114
#define IDC_OCR_CLOSE               1115
#define IDS_OCR_TITLE               4300
#define IDS_OCR_COPY_ALL            4301
#define IDS_OCR_CANCEL              4302
#define IDS_OCR_CLOSE               4303
#define IDS_OCR_LOADING             4304
#define IDS_OCR_READING             4305
#define IDS_OCR_DONE                4306
#define IDS_OCR_NO_TEXT             4307
#define IDS_OCR_FAILED              4308
#define IDS_OCR_MISSING_FILE        4309
#define IDS_OCR_UNUSABLE_FILE       4310
#define IDS_OCR_COPIED              4311
#define IDS_OCR_AREA_TOO_SMALL      4312
#define IDS_OCR_COPY_FAILED         4313
#define IDS_OCR_NOT_STARTED         4330

/* Recording a GIF: the command, the control bar, the playback window and their texts */
#define ID_CAPTURE_RECORD_GIF       32844
#define ID_RECORD_PAUSE             33130
#define ID_RECORD_STOP              33131
#define ID_RECORD_CANCEL            33132
#define IDC_RECORD_TIME             1120
#define IDC_RECORD_RATE             1121
#define IDC_PLAYBACK_PICTURE        1125
#define IDC_PLAYBACK_INFO           1126
#define IDC_PLAYBACK_SAVE           1127
#define IDC_PLAYBACK_COPY           1128
#define IDC_PLAYBACK_DISCARD        1129
#define IDS_RECORD_BAR_TITLE        4400
#define IDS_RECORD_PAUSE            4401
#define IDS_RECORD_RESUME           4402
#define IDS_RECORD_STOP             4403
#define IDS_RECORD_CANCEL           4404
#define IDS_RECORD_RATE             4405
#define IDS_RECORD_PAUSED           4406
#define IDS_RECORD_FAILED           4407
#define IDS_RECORD_TIME_LIMIT       4408
#define IDS_RECORD_SIZE_LIMIT       4409
#define IDS_RECORD_AUTOSAVE_FAILED  4410
#define IDS_RECORD_TOO_SMALL        4411
#define IDS_PLAYBACK_TITLE          4420
#define IDS_PLAYBACK_SAVE           4421
#define IDS_PLAYBACK_COPY           4422
#define IDS_PLAYBACK_DISCARD        4423
#define IDS_PLAYBACK_INFO           4424
#define IDS_PLAYBACK_SAVED          4425
#define IDS_PLAYBACK_COPIED         4426
#define IDS_PLAYBACK_SAVE_FAILED    4427
#define IDS_PLAYBACK_COPY_FAILED    4428
#define IDS_PLAYBACK_OPEN_FAILED    4429
#define IDS_GIF_FILTER              4430

#endif
