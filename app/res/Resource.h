#pragma once
// Resource and command IDs of the viewer. Framework IDs (ID_FILE_OPEN, ...)
// are in platform/AfxRes.h.

#include "platform/AfxRes.h"

enum : unsigned int {
    IDR_MAINFRAME = 128,
    IDR_JPEGTYPE = 129,  // document icon
    IDD_ABOUTBOX = 100,

    ID_VIEW_SCALE_FIT = 32772,
    ID_VIEW_SCALE_100 = 32773,
    ID_VIEW_SCALE_50 = 32774,
    ID_VIEW_SCALE_200 = 32776,
    ID_VIEW_SCALE_25 = 32777,
    ID_VIEW_SCALE_400 = 32778,
    ID_FILE_SAVE_IMAGE = 32779,
    ID_FILE_SAVE_IMAGE_AS = 32780,
    ID_VIEW_ROTATE_RIGHT = 32781,
    ID_VIEW_ROTATE_LEFT = 32782,
    ID_VIEW_DISPLAY_INFO = 32783,
    ID_FILE_VISUAL_BROWSE = 32784,
    ID_VIEW_NEXT_PICTURE = 32785,
    ID_VIEW_PREV_PICTURE = 32786,
    ID_VIEW_FIRST_PICTURE = 32787,
    ID_VIEW_LAST_PICTURE = 32788,
    ID_VIEW_FULL_SCREEN = 32789,
    ID_VIEW_EXIT_FULL_SCREEN = 32790,  // Esc, in full screen only
};

struct AFX_RESOURCES;
// All resource tables of the viewer.
const AFX_RESOURCES* PixmoorResources();
