#pragma once
// The image fuzzer's own account of a display made part by part: the full
// raster as it was when the display was sized, that size, and the turns and
// mirrors since, in order. Any one pixel of the display follows from these
// without a whole display raster, so displays far beyond the raster budget
// are checked as exactly as small ones.

#include <cstdint>
#include <string>
#include <vector>

class CRgbImage;

class CLazyDisplayModel {
public:
    // The image's display was just sized (SetDisplaySize made it lazy): it is
    // the full raster as it is now, resampled to the display's size.
    void Sized(const CRgbImage& image);
    // The picture was turned clockwise ('c'), counter-clockwise ('a') or
    // mirrored ('m') after that.
    void Turned(char how);
    void Forget();
    bool Active() const { return m_bActive; }

    // Pixel (x, y) of the display, now width x height, as B | G << 8 | R << 16:
    // the position is taken back through the turns, in reverse, to the
    // display as sized, and that pixel is resampled alone.
    uint32_t Pixel(int x, int y, int width, int height) const;

private:
    bool m_bActive = false;
    std::vector<unsigned char> m_full;  // stored layout, as the image held it
    int m_nFullWidth = 0;
    int m_nFullHeight = 0;
    int m_nSizedWidth = 0;
    int m_nSizedHeight = 0;
    std::string m_turns;
};
