#pragma once
// Command and window IDs that belong to the framework.

enum : unsigned int {
    ID_FILE_NEW = 0xE100,            // 57600
    ID_FILE_OPEN = 0xE101,           // 57601
    ID_FILE_CLOSE = 0xE102,
    ID_FILE_SAVE = 0xE103,           // 57603
    ID_FILE_SAVE_AS = 0xE104,
    ID_FILE_PAGE_SETUP = 0xE105,
    ID_FILE_PRINT_SETUP = 0xE106,    // 57606
    ID_FILE_PRINT = 0xE107,          // 57607
    ID_FILE_PRINT_DIRECT = 0xE108,   // 57608
    ID_FILE_PRINT_PREVIEW = 0xE109,  // 57609
    ID_FILE_MRU_FILE1 = 0xE110,      // 57616
    ID_FILE_MRU_FILE2 = 0xE111,
    ID_FILE_MRU_FILE3 = 0xE112,
    ID_FILE_MRU_FILE4 = 0xE113,      // 57619
    ID_FILE_MRU_FIRST = ID_FILE_MRU_FILE1,
    ID_FILE_MRU_LAST = 0xE11F,
    ID_EDIT_COPY = 0xE122,           // 57634
    ID_EDIT_CUT = 0xE123,            // 57635
    ID_EDIT_PASTE = 0xE125,          // 57637
    ID_EDIT_UNDO = 0xE12B,           // 57643
    ID_NEXT_PANE = 0xE150,           // 57680
    ID_PREV_PANE = 0xE151,           // 57681
    ID_APP_ABOUT = 0xE140,           // 57664
    ID_APP_EXIT = 0xE141,            // 57665
    ID_VIEW_TOOLBAR = 0xE800,        // 59392
    ID_VIEW_STATUS_BAR = 0xE801,

    AFX_IDW_TOOLBAR = 0xE800,        // 59392
    AFX_IDW_PANE_FIRST = 0xE900,     // 59648
};
