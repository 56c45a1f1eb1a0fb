#pragma once
// Showing a picture the way its Exif orientation says (1 to 8, see
// codec/ExifOrientation.h): the stored pixels turned and mirrored.

class CRgbImage;

// Width and height of a w x h picture after orientation o: swapped for 5 to 8.
bool OrientationSwapsSides(int orientation);

// Turns and mirrors both rasters of `image` with its own operations, as the
// user's commands would: Mirror, then the turn. Values outside 2..8 change
// nothing. A turn that fails for lack of memory leaves the picture as the
// operations leave it (Mirror cannot fail).
void OrientImage(CRgbImage& image, int orientation);

// A new exchange-layout buffer (top-down R, G, B; malloc, the caller frees
// it) holding `pixels` (w x h) after orientation o, with its size; null when
// it cannot be allocated. Orientation 1 or an unknown value gives a copy.
unsigned char* OrientRgb(const unsigned char* pixels, int width, int height, int orientation,
                         int* outWidth, int* outHeight);
