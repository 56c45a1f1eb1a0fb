// The toolbar bitmap: one 16 x 15 image per button, in button order
// (Visually Browse, Open, Save, Cut, Copy, Paste, Print, About), as XPM.
#include "app/res/ToolbarBitmap.h"

// clang-format off
const char* const g_toolbarXpm[] = {
"128 15 10 1",
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
"................................................................................................................................",
".kkkkkk..kkkkkk..................kkkkkkkkkkkkkk.....k.....k.....kkkkkk..............kkkkk...........kkkkkkkkk.........kkkk......",
".kbbbbk..kyyyyk...........kkk....kbkwwwwwwwwkbk.....k.....k.....kwwwwkk..........kkkkyyykkkk........kwwwwwwwk.......kkbbbbkk....",
".kbggbk..kyrryk..kkkk....k...k.k.kbkwwwwwwwwkbk.....k.....k.....kwkkwkwk........knnkykkkyknnk.......kwkkkkkwk......kbbbbbbbbk...",
".kggggk..kggggk.kyyyyk.......kk..kbkwwwwwwwwkbk.....kk...kk.....kwwwwkkkkkkk....knkkkkkkkkknk.......kwwwwwwwk.....kbbbkkkkbbbk..",
".kkkkkk..kkkkkk.kywywkkkkkk.kkk..kbkwwwwwwwwkbk......k...k......kwkkkkwwwwkkk...knnnnnnnnnnnk.....kkkkkkkkkkkkk...kbbkkbbkkbbk..",
"................kwywywywywk......kbkwwwwwwwwkbk......kk.kk......kwwwwkwkkwkwkk..knnnnnkkkkkkkkk..kggggggggggggk..kbbbbbbbkkbbbk.",
"................kywywykkkkkkkkk..kbbkkkkkkkkbbk.......kkk.......kwkkkkwwwwkkkkk.knnnnnkwwwwwwwk..kggggggggggyyk..kbbbbbbkkbbbbk.",
".kkkkkk..kkkkkk.kwywykyyyyyyyyk..kbbbbbbbbbbbbk........k........kwwwwkwkkkkkwwk.knnnnnkwkkkkkwk..kggggggggggggk..kbbbbbkkbbbbbk.",
".kccbck..kbbbbk.kywykyyyyyyyyk...kbbkkkkkkkkbbk.......bkb.......kkkkkkwwwwwwwwk.knnnnnkwwwwwwwk..kkkkkkkkkkkkkk...kbbbbkkbbbbk..",
".kcccck..kbyybk.kwykyyyyyyyyk....kbbkgggggkgbbk.....bbb.bbb...........wkkkkkkwk.knnnnnkwkkkkkwk..kgkwwwwwwwwkgk...kbbbbbbbbbbk..",
".kggggk..kggggk.kykyyyyyyyyk.....kbbkgggggkgbbk....b..b.b..b..........kwwwwwwwk.knnnnnkwwwwwwwk...kkwkkkkkkwkk.....kbbbkkbbbk...",
".kkkkkk..kkkkkk.kkyyyyyyyyk......kbbkgggggkgbbk....b..b.b..b..........kwkkkkkwk..kkkkkkwkkkkkwk.....kwwwwwwwk.......kkbkkbkk....",
"................kkkkkkkkkkk.......kkkkkkkkkkkkk....b..b.b..b..........kwwwwwwwk.......kwwwwwwwk.....kkkkkkkkk.........kkkk......",
"....................................................bb...bb...........kkkkkkkkk.......kkkkkkkkk................................."
};
// clang-format on
