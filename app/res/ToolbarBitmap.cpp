// The toolbar bitmap: one 16 x 15 image per button, in button order
// (Visually Browse, Open, Save, Cut, Copy, Paste, Print, Previous Picture,
// Next Picture, About), as XPM. Previous and Next are navy arrowheads; the
// About button is a white question mark on a blue disc.
#include "app/res/ToolbarBitmap.h"

// clang-format off
const char* const g_toolbarXpm[] = {
"160 15 10 1",
". c None",
"k c #000000",
"w c #FFFFFF",
"y c #FFFF00",
"b c #000080",
"g c #C0C0C0",
"d c #808080",
"r c #FF0000",
"c c #00C0C0",
"n c #808000",
"................................................................................................................................................................",
".kkkkkk..kkkkkk..................kkkkkkkkkkkkkk.....k.....k.....kkkkkk..............kkkkk...........kkkkkkkkk.........................................kkkk......",
".kbbbbk..kyyyyk...........kkk....kbkwwwwwwwwkbk.....k.....k.....kwwwwkk..........kkkkyyykkkk........kwwwwwwwk.............kk........kk..............kkbbbbkk....",
".kbggbk..kyrryk..kkkk....k...k.k.kbkwwwwwwwwkbk.....k.....k.....kwkkwkwk........knnkykkkyknnk.......kwkkkkkwk............kbk........kbk............kbbwwwwbbk...",
".kggggk..kggggk.kyyyyk.......kk..kbkwwwwwwwwkbk.....kk...kk.....kwwwwkkkkkkk....knkkkkkkkkknk.......kwwwwwwwk...........kbbk........kbbk..........kbbwwbbwwbbk..",
".kkkkkk..kkkkkk.kywywkkkkkk.kkk..kbkwwwwwwwwkbk......k...k......kwkkkkwwwwkkk...knnnnnnnnnnnk.....kkkkkkkkkkkkk........kbbbk........kbbbk.........kbbbbbbwwbbk..",
"................kwywywywywk......kbkwwwwwwwwkbk......kk.kk......kwwwwkwkkwkwkk..knnnnnkkkkkkkkk..kggggggggggggk.......kbbbbk........kbbbbk.......kbbbbbbwwbbbbk.",
"................kywywykkkkkkkkk..kbbkkkkkkkkbbk.......kkk.......kwkkkkwwwwkkkkk.knnnnnkwwwwwwwk..kggggggggggyyk......kbbbbbk........kbbbbbk......kbbbbbwwbbbbbk.",
".kkkkkk..kkkkkk.kwywykyyyyyyyyk..kbbbbbbbbbbbbk........k........kwwwwkwkkkkkwwk.knnnnnkwkkkkkwk..kggggggggggggk.......kbbbbk........kbbbbk.......kbbbbbwwbbbbbk.",
".kccbck..kbbbbk.kywykyyyyyyyyk...kbbkkkkkkkkbbk.......bkb.......kkkkkkwwwwwwwwk.knnnnnkwwwwwwwk..kkkkkkkkkkkkkk........kbbbk........kbbbk.........kbbbbbbbbbbk..",
".kcccck..kbyybk.kwykyyyyyyyyk....kbbkgggggkgbbk.....bbb.bbb...........wkkkkkkwk.knnnnnkwkkkkkwk..kgkwwwwwwwwkgk.........kbbk........kbbk..........kbbbbwwbbbbk..",
".kggggk..kggggk.kykyyyyyyyyk.....kbbkgggggkgbbk....b..b.b..b..........kwwwwwwwk.knnnnnkwwwwwwwk...kkwkkkkkkwkk...........kbk........kbk............kbbbwwbbbk...",
".kkkkkk..kkkkkk.kkyyyyyyyyk......kbbkgggggkgbbk....b..b.b..b..........kwkkkkkwk..kkkkkkwkkkkkwk.....kwwwwwwwk.............kk........kk..............kkbbbbkk....",
"................kkkkkkkkkkk.......kkkkkkkkkkkkk....b..b.b..b..........kwwwwwwwk.......kwwwwwwwk.....kkkkkkkkk.........................................kkkk......",
"....................................................bb...bb...........kkkkkkkkk.......kkkkkkkkk................................................................."
};
// clang-format on
