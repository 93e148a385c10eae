// Identifiers of the plug-in's resource module (PimRes.dll).
#pragma once

#define IDD_PIM_MAIN 137  // the main window
#define IDD_CONTACT_GROUP 150  // the new / edit group dialog

// Controls of the group dialog.
#define IDC_GROUP_TITLE 0x600
#define IDC_GROUP_CLOSE 0x601
#define IDC_GROUP_NAME_LABEL 0x602
#define IDC_GROUP_NAME 0x603
#define IDC_GROUP_REMARK_LABEL 0x604
#define IDC_GROUP_REMARK 0x605

// Controls of the main window.
#define IDC_CONTACT_GROUP_TREE 0x481
#define IDC_CONTACT_LIST 0x488
#define IDC_MODULE_TAB 0x4c7
#define IDC_SMS_FOLDER_TREE 0x4c8
#define IDC_SMS_CHAT_TREE 0x4c9
#define IDC_CONTACT_NEW 0x4ca
#define IDC_CONTACT_DELETESOME 0x4cb
#define IDC_CONTACT_REFRESH 0x4cc
#define IDC_CONTACT_IMPORT 0x4cd
#define IDC_CONTACT_EXPORT 0x4ce
#define IDC_CONTACT_SEARCH 0x4cf
#define IDC_SMS_LIST 0x4d0
#define IDC_CALENDAR_LIST 0x4d1
#define IDC_MULTIDELETE_OK 0x4d2
#define IDC_MULTIDELETE_CANCEL 0x4d4
#define IDC_CALENDAR_VIEW_LIST 0x4fc
#define IDC_CALENDAR_VIEW_DAY 0x4fd
#define IDC_CALENDAR_VIEW_WEEK 0x4fe
#define IDC_CALENDAR_VIEW_MONTH 0x4ff
#define IDC_CALENDAR_VIEW_AREA 0x500
#define IDC_CALENDAR_MINI 0x501  // made by the window, not in the template
#define IDC_SMS_MODE_LIST 0x56b
#define IDC_SMS_MODE_CHAT 0x56c
#define IDC_BUSY_CONTACT 0x57d
#define IDC_BUSY_SMS 0x57e
#define IDC_BUSY_CALENDAR 0x57f
#define IDC_SMS_NEW 0x580
#define IDC_SMS_DELETESOME 0x581
#define IDC_SMS_IMPORT 0x582
#define IDC_SMS_EXPORT 0x583
#define IDC_SMS_REFRESH 0x584
#define IDC_CALENDAR_NEW 0x585
#define IDC_CALENDAR_DELETESOME 0x586
#define IDC_CALENDAR_REFRESH 0x587
#define IDC_CALENDAR_SEARCH 0x58e
#define IDC_SMS_SEARCH 0x58f
#define IDC_SIDE_FOOTER 0x59b

// The import / export progress window.
#define IDD_PIM_PROGRESS 151
#define IDC_PROGRESS_TITLE 0x610
#define IDC_PROGRESS_CLOSE 0x611
#define IDC_PROGRESS_MESSAGE 0x612
#define IDC_PROGRESS_COUNTER 0x613
#define IDC_PROGRESS_BAR 0x614

// The conversation window (a child of the main window, over the message list).
#define IDD_SMS_CHAT 152
#define IDC_CHAT_TITLE 1389
#define IDC_CHAT_PHOTO 1391
#define IDC_CHAT_NAME 1392
#define IDC_CHAT_NUMBER 1393
#define IDC_CHAT_NOTE 1394
#define IDC_CHAT_SEND_ONE 1395
#define IDC_CHAT_SEND_TWO 1396
#define IDC_CHAT_PHRASE 1397
#define IDC_CHAT_EDIT 1398
#define IDC_CHAT_NOCARD_IMAGE 1399
#define IDC_CHAT_NOCARD_PROMPT 1404
#define IDC_CHAT_BUBBLES 80001  // beyond 16 bits: extended templates carry 32-bit ids

// The new-folder dialog of the messages page.
#define IDD_NEW_FOLDER 153
#define IDC_NEWFOLDER_TITLE 0x620
#define IDC_NEWFOLDER_CLOSE 0x621
#define IDC_NEWFOLDER_LABEL 0x622
#define IDC_NEWFOLDER_NAME 0x623

// The message detail window (a popup owned by the main window).
#define IDD_MESSAGE_DETAIL 154
#define IDC_DETAIL_PHOTO 1137
#define IDC_DETAIL_NAME 1138
#define IDC_DETAIL_NUMBER 1245
#define IDC_DETAIL_BUBBLE 1331
#define IDC_DETAIL_RECORD 1350
#define IDC_DETAIL_PHRASE 1351
#define IDC_DETAIL_NOTE 1352
#define IDC_DETAIL_EDIT 1353
#define IDC_DETAIL_SEND 1354
#define IDC_DETAIL_NOCARD 1355

// The event detail popup of the calendar list (a no-activate popup owned by
// the main window's top-level window). Row i's label is
// IDC_CALDETAIL_LABEL + 2i, its value IDC_CALDETAIL_VALUE + 2i (four rows).
#define IDD_CALENDAR_DETAIL 156
#define IDC_CALDETAIL_TITLE 0x660
#define IDC_CALDETAIL_EDIT 0x661
#define IDC_CALDETAIL_LABEL 0x662
#define IDC_CALDETAIL_VALUE 0x663

// The event editor (new and edit event).
#define IDD_CALENDAR_NEW 155
#define IDC_CALNEW_TITLE 0x640
#define IDC_CALNEW_CLOSE 0x641
#define IDC_CALNEW_TOPIC_LABEL 0x642
#define IDC_CALNEW_TOPIC 0x643
#define IDC_CALNEW_START_LABEL 0x644
#define IDC_CALNEW_START_DATE 0x645
#define IDC_CALNEW_START_TIME 0x646
#define IDC_CALNEW_END_LABEL 0x647
#define IDC_CALNEW_END_DATE 0x648
#define IDC_CALNEW_END_TIME 0x649
#define IDC_CALNEW_ALLDAY 0x64a
#define IDC_CALNEW_ADDRESS_LABEL 0x64b
#define IDC_CALNEW_ADDRESS 0x64c
#define IDC_CALNEW_PEOPLE_LABEL 0x64d
#define IDC_CALNEW_PEOPLE 0x64e
#define IDC_CALNEW_PEOPLE_PICK 0x64f
#define IDC_CALNEW_REPEAT_LABEL 0x650
#define IDC_CALNEW_REPEAT 0x651
#define IDC_CALNEW_REMINDER_LABEL 0x652
#define IDC_CALNEW_REMINDER 0x653
#define IDC_CALNEW_REMARK_LABEL 0x654
#define IDC_CALNEW_REMARK 0x655
