#pragma once
// A new thumbnail for a photograph: the photo decoded and fitted into
// 150 x 150 (FitThumbnailSize) with CRgbImage's resampling, in exchange
// layout. The pixels are those of LoadFile, then
// SetScaledImage("tmp", photo, W, H, tw, th) and ExportRgb, byte for byte.
//
// Where the fit uses the 2 x 2 mean (every photo that is not enlarged in both
// directions) and the stream's rows can be chosen (codec/ChosenRows.h), only
// the rows the mean reads are decoded, and no more than two are kept: no
// full raster is made. Tiny photos, which the fit enlarges, and other streams
// take the whole decode and CRgbImage itself.
//
// The thumbnail shows the photo upright: after the shrink its pixels are
// turned and mirrored as the photo's Exif orientation says (image/Orientation.h),
// so its size is th x tw for a photo stored on its side.

// The thumbnail (malloc; the caller frees it) with its size, or null with the
// sizes LoadFile reports for the photo (0 x 0 for an unreadable or broken
// photo, the declared size for one refused or without memory for its
// raster), or with 0 x 0 when the shrink itself failed.
unsigned char* MakeThumbnail(const char* path, int* width, int* height);
