// The viewer's resources: menu, accelerators, toolbar, strings, the About
// dialog and the icons. The framework builds the main window's menu bar,
// accelerators and toolbar from these tables (CFrameWnd::LoadFrame,
// CToolBar::LoadToolBar).
#include "platform/Resource.h"

#include "app/res/AppIcon.h"
#include "app/res/Resource.h"
#include "app/res/ToolbarBitmap.h"

namespace {

const MENU_ITEM kMainMenu[] = {
    { MF_POPUP, 0, "&File" },
        { MF_STRING, ID_FILE_VISUAL_BROWSE, "Visually Browse ..." },
        { MF_STRING, ID_FILE_OPEN, "&Open...\tCtrl+O" },
        { MF_STRING, ID_FILE_SAVE_IMAGE, "&Save\tCtrl+S" },
        { MF_GRAYED, ID_FILE_SAVE_IMAGE_AS, "Save &As..." },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_FILE_PRINT, "&Print...\tCtrl+P" },
        { MF_STRING, ID_FILE_PRINT_PREVIEW, "Print Pre&view" },
        { MF_STRING, ID_FILE_PRINT_SETUP, "P&rint Setup..." },
        { MF_SEPARATOR, 0, nullptr },
        { MF_GRAYED, ID_FILE_MRU_FILE1, "Recent File" },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_APP_EXIT, "E&xit" },
    { MF_END, 0, nullptr },
    { MF_POPUP, 0, "&Edit" },
        { MF_STRING, ID_EDIT_UNDO, "&Undo\tCtrl+Z" },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_EDIT_CUT, "Cu&t\tCtrl+X" },
        { MF_STRING, ID_EDIT_COPY, "&Copy\tCtrl+C" },
        { MF_STRING, ID_EDIT_PASTE, "&Paste\tCtrl+V" },
    { MF_END, 0, nullptr },
    { MF_POPUP, 0, "&View" },
        { MF_STRING, ID_VIEW_SCALE_400, "Scale to 400%" },
        { MF_STRING, ID_VIEW_SCALE_200, "Scale to 200%" },
        { MF_STRING, ID_VIEW_SCALE_100, "Scale to 100%" },
        { MF_STRING, ID_VIEW_SCALE_50, "Scale to 50%" },
        { MF_STRING, ID_VIEW_SCALE_25, "Scale to 25%" },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_VIEW_SCALE_FIT, "Scale to Fit" },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_VIEW_ROTATE_RIGHT, "Rotate Right 90 Degrees" },
        { MF_STRING, ID_VIEW_ROTATE_LEFT, "Rotate Left 90 Degrees" },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_VIEW_NEXT_PICTURE, "Next Picture\tPage Down" },
        { MF_STRING, ID_VIEW_PREV_PICTURE, "Previous Picture\tPage Up" },
        { MF_STRING, ID_VIEW_FIRST_PICTURE, "First Picture\tHome" },
        { MF_STRING, ID_VIEW_LAST_PICTURE, "Last Picture\tEnd" },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_VIEW_FULL_SCREEN, "Full Screen\tF11" },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_VIEW_DISPLAY_INFO, "Display Info" },
        { MF_SEPARATOR, 0, nullptr },
        { MF_STRING, ID_VIEW_TOOLBAR, "&Toolbar" },
    { MF_END, 0, nullptr },
    { MF_POPUP, 0, "&Help" },
        { MF_STRING, ID_APP_ABOUT, "&About pixmoor..." },
    { MF_END, 0, nullptr },
    { MF_END, 0, nullptr },
};

// The menu's "Ctrl+S" label belongs to ID_FILE_SAVE_IMAGE; the key sends ID_FILE_SAVE.
const ACCEL kMainAccelerators[] = {
    { FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW },
    { FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN },
    { FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE },
    { FVIRTKEY | FCONTROL, 'P', ID_FILE_PRINT },
    { FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO },
    { FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT },
    { FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY },
    { FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE },
    { FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO },
    { FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT },
    { FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY },
    { FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE },
    { FVIRTKEY, VK_F6, ID_NEXT_PANE },
    { FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE },
    { FVIRTKEY, VK_NEXT, ID_VIEW_NEXT_PICTURE },
    { FVIRTKEY, VK_SPACE, ID_VIEW_NEXT_PICTURE },
    { FVIRTKEY, VK_RIGHT, ID_VIEW_NEXT_PICTURE },
    { FVIRTKEY, VK_PRIOR, ID_VIEW_PREV_PICTURE },
    { FVIRTKEY, VK_BACK, ID_VIEW_PREV_PICTURE },
    { FVIRTKEY, VK_LEFT, ID_VIEW_PREV_PICTURE },
    { FVIRTKEY, VK_HOME, ID_VIEW_FIRST_PICTURE },
    { FVIRTKEY, VK_END, ID_VIEW_LAST_PICTURE },
    { FVIRTKEY, VK_F11, ID_VIEW_FULL_SCREEN },
    { FVIRTKEY, VK_ESCAPE, ID_VIEW_EXIT_FULL_SCREEN },
};

const UINT kToolbarButtons[] = {
    ID_FILE_VISUAL_BROWSE, ID_FILE_OPEN, ID_FILE_SAVE_IMAGE, 0,
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
    ID_FILE_PRINT, 0,
    ID_VIEW_PREV_PICTURE, ID_VIEW_NEXT_PICTURE, 0,
    ID_APP_ABOUT,
};

const STRING_RESOURCE kStrings[] = {
    { IDR_MAINFRAME, "Pixmoor\n\nPixMoor\nJPEG Files (*.jpg)\n.jpg\nJPEG.Document\nJPEG Document" },
    { AFX_IDS_APP_TITLE, "pixmoor" },
    { ID_FILE_VISUAL_BROWSE, "Open a window to look for images with thumbnails" },
    { ID_FILE_OPEN, "Open an existing document\nOpen" },
    { ID_FILE_PRINT, "Print the active document\nPrint" },
    { ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview" },
    { ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup" },
    { ID_FILE_MRU_FILE1, "Open this document" },
    { ID_FILE_MRU_FILE2, "Open this document" },
    { ID_FILE_MRU_FILE3, "Open this document" },
    { ID_FILE_MRU_FILE4, "Open this document" },
    { ID_APP_EXIT, "Quit the application; prompts to save documents\nExit" },
    { ID_EDIT_UNDO, "Undo the last action\nUndo" },
    { ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut" },
    { ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy" },
    { ID_EDIT_PASTE, "Insert Clipboard contents\nPaste" },
    { ID_VIEW_SCALE_400, "Scales image to 4 times original size" },
    { ID_VIEW_SCALE_200, "Scales image to double size" },
    { ID_VIEW_SCALE_100, "Scales image to full size" },
    { ID_VIEW_SCALE_50, "Scales image to 1/2 size" },
    { ID_VIEW_SCALE_25, "Scales image to 1/4 size" },
    { ID_VIEW_SCALE_FIT, "Scales Image to fit window size" },
    { ID_VIEW_ROTATE_RIGHT, "Rotate the Image Clockwise 90 Degrees" },
    { ID_VIEW_ROTATE_LEFT, "Rotate the Image Counter Clockwise 90 Degrees" },
    { ID_VIEW_DISPLAY_INFO, "Displays information about the Image" },
    { ID_VIEW_NEXT_PICTURE, "Shows the next picture in the folder\nNext Picture" },
    { ID_VIEW_PREV_PICTURE, "Shows the previous picture in the folder\nPrevious Picture" },
    { ID_VIEW_FIRST_PICTURE, "Shows the first picture in the folder" },
    { ID_VIEW_LAST_PICTURE, "Shows the last picture in the folder" },
    { ID_VIEW_FULL_SCREEN, "Shows the picture alone on the whole screen" },
    { ID_VIEW_EXIT_FULL_SCREEN, "Returns from full screen to the window" },
    { ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar" },
    { ID_APP_ABOUT, "Display program information, version number and copyright\nAbout" },
    { ID_FILE_NEW, "Create a new document\nNew" },
    { ID_FILE_SAVE, "Save the active document\nSave" },
    { ID_NEXT_PANE, "Switch to the next window pane\nNext Pane" },
    { ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane" },
};

const DIALOG_ITEM kAboutItems[] = {
    { DLG_ICON, nullptr, IDR_MAINFRAME, 11, 17, 20, 20 },
    { DLG_LTEXT, "pixmoor Version 1.9.6", (UINT)-1, 40, 10, 119, 8 },
    { DLG_DEFPUSHBUTTON, "OK", IDOK, 178, 7, 50, 14 },
};

const DIALOG_RESOURCE kDialogs[] = {
    { IDD_ABOUTBOX, "About pixmoor", 235, 55, "MS Sans Serif", 8, kAboutItems,
      (int)(sizeof kAboutItems / sizeof kAboutItems[0]) },
};

const ICON_RESOURCE kIcons[] = {
    { IDR_MAINFRAME, DrawAppIcon },
    { IDR_JPEGTYPE, DrawDocumentIcon },
};

const MENU_ITEM* const kMenus[] = { kMainMenu };
const UINT kMenuIDs[] = { IDR_MAINFRAME };
const ACCEL* const kAccelTables[] = { kMainAccelerators };
const int kAccelCounts[] = { (int)(sizeof kMainAccelerators / sizeof kMainAccelerators[0]) };
const UINT kAccelIDs[] = { IDR_MAINFRAME };
const TOOLBAR_RESOURCE kToolbars[] = {
    { IDR_MAINFRAME, 16, 15, kToolbarButtons, (int)(sizeof kToolbarButtons / sizeof kToolbarButtons[0]),
      g_toolbarXpm },
};

const AFX_RESOURCES kResources = {
    kMenus, kMenuIDs, 1,
    kAccelTables, kAccelCounts, kAccelIDs, 1,
    kToolbars, 1,
    kStrings, (int)(sizeof kStrings / sizeof kStrings[0]),
    kDialogs, 1,
    kIcons, 2,
};

}  // namespace

const AFX_RESOURCES* PixmoorResources()
{
    return &kResources;
}
