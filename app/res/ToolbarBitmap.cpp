// The toolbar bitmap: one 16 x 15 image per button, in button order
// (Visually Browse, Open, Save, Cut, Copy, Paste, Print, About), as XPM. The
// About button is a white question mark on a blue disc.
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
".kbggbk..kyrryk..kkkk....k...k.k.kbkwwwwwwwwkbk.....k.....k.....kwkkwkwk........knnkykkkyknnk.......kwkkkkkwk......kbbwwwwbbk...",
".kggggk..kggggk.kyyyyk.......kk..kbkwwwwwwwwkbk.....kk...kk.....kwwwwkkkkkkk....knkkkkkkkkknk.......kwwwwwwwk.....kbbwwbbwwbbk..",
".kkkkkk..kkkkkk.kywywkkkkkk.kkk..kbkwwwwwwwwkbk......k...k......kwkkkkwwwwkkk...knnnnnnnnnnnk.....kkkkkkkkkkkkk...kbbbbbbwwbbk..",
"................kwywywywywk......kbkwwwwwwwwkbk......kk.kk......kwwwwkwkkwkwkk..knnnnnkkkkkkkkk..kggggggggggggk..kbbbbbbwwbbbbk.",
"................kywywykkkkkkkkk..kbbkkkkkkkkbbk.......kkk.......kwkkkkwwwwkkkkk.knnnnnkwwwwwwwk..kggggggggggyyk..kbbbbbwwbbbbbk.",
".kkkkkk..kkkkkk.kwywykyyyyyyyyk..kbbbbbbbbbbbbk........k........kwwwwkwkkkkkwwk.knnnnnkwkkkkkwk..kggggggggggggk..kbbbbbwwbbbbbk.",
".kccbck..kbbbbk.kywykyyyyyyyyk...kbbkkkkkkkkbbk.......bkb.......kkkkkkwwwwwwwwk.knnnnnkwwwwwwwk..kkkkkkkkkkkkkk...kbbbbbbbbbbk..",
".kcccck..kbyybk.kwykyyyyyyyyk....kbbkgggggkgbbk.....bbb.bbb...........wkkkkkkwk.knnnnnkwkkkkkwk..kgkwwwwwwwwkgk...kbbbbwwbbbbk..",
".kggggk..kggggk.kykyyyyyyyyk.....kbbkgggggkgbbk....b..b.b..b..........kwwwwwwwk.knnnnnkwwwwwwwk...kkwkkkkkkwkk.....kbbbwwbbbk...",
".kkkkkk..kkkkkk.kkyyyyyyyyk......kbbkgggggkgbbk....b..b.b..b..........kwkkkkkwk..kkkkkkwkkkkkwk.....kwwwwwwwk.......kkbbbbkk....",
"................kkkkkkkkkkk.......kkkkkkkkkkkkk....b..b.b..b..........kwwwwwwwk.......kwwwwwwwk.....kkkkkkkkk.........kkkk......",
"....................................................bb...bb...........kkkkkkkkk.......kkkkkkkkk................................."
};
// clang-format on
