#include "thumbcache/ThumbnailMaker.h"

#include <cstdlib>
#include <cstring>

#include "codec/ExifOrientation.h"
#include "codec/JpegConverter.h"
#include "codec/RowReceiver.h"
#include "image/Orientation.h"
#include "image/Resample.h"
#include "image/RgbImage.h"
#include "thumbcache/ThumbnailSize.h"

namespace {

// Folds the rows the 2 x 2 mean reads into the thumbnail as they arrive,
// keeping the last two. At the photo's own size every thumbnail row is a
// copy of one photo row (offsets and rows then pair each pixel with itself,
// whose doubled sum halved twice is the pixel).
class CMeanRows : public CRowReceiver {
public:
    ~CMeanRows() override
    {
        free(m_offsets);
        free(m_rows[0]);
        free(m_rows[1]);
        free(m_thumb);
    }

    int Begin(int width, int height) override
    {
        int tw = 0, th = 0;
        FitThumbnailSize(width, height, &tw, &th);
        if (!ResampleUsesMean(width, height, tw, th))
            return 0;
        m_W = width;
        m_H = height;
        m_w = tw;
        m_h = th;
        m_copy = tw == width && th == height;
        const size_t row = (size_t)width * 3;
        m_offsets = (size_t*)malloc(2 * (size_t)tw * sizeof(size_t));
        m_rows[0] = (unsigned char*)malloc(row);
        m_rows[1] = (unsigned char*)malloc(row);
        m_thumb = (unsigned char*)malloc((size_t)tw * th * 3);
        if (!m_offsets || !m_rows[0] || !m_rows[1] || !m_thumb)
            return -1;
        size_t* off1 = m_offsets + tw;
        if (m_copy) {
            for (int j = 0; j < tw; ++j)
                m_offsets[j] = off1[j] = (size_t)j * 3;
        } else {
            MeanColumnOffsets(width, tw, m_offsets, off1);
        }
        return 1;
    }

    int NextRow() override
    {
        while (m_made < m_h) {
            int y0 = m_made, y1 = m_made;
            if (!m_copy)
                MeanSourceRows(m_H, m_h, m_made, &y0, &y1);
            const unsigned char* r0 = Held(y0);
            if (!r0)
                return y0;
            const unsigned char* r1 = Held(y1);
            if (!r1)
                return y1;
            MeanRow(r0, r1, m_offsets, m_offsets + m_w, m_w, m_thumb + (size_t)m_made * m_w * 3);
            m_made++;
        }
        return m_H;
    }

    void TakeRow(int y, const unsigned char* rgb) override
    {
        // Rows come in ascending order: the older of the two is done with.
        memcpy(m_rows[m_older], rgb, (size_t)m_W * 3);
        m_rowOf[m_older] = y;
        m_older ^= 1;
    }

    // The finished thumbnail, handed over with its size; null unless every
    // row of it was made.
    unsigned char* TakeThumbnail(int* width, int* height)
    {
        if (!m_thumb || m_made != m_h)
            return nullptr;
        unsigned char* thumb = m_thumb;
        m_thumb = nullptr;
        *width = m_w;
        *height = m_h;
        return thumb;
    }

private:
    const unsigned char* Held(int y) const
    {
        for (int k = 0; k < 2; ++k)
            if (m_rowOf[k] == y)
                return m_rows[k];
        return nullptr;
    }

    int m_W = 0, m_H = 0;  // the photo
    int m_w = 0, m_h = 0;  // the thumbnail
    bool m_copy = false;
    size_t* m_offsets = nullptr;  // the mean's two column tables, w entries each
    unsigned char* m_rows[2] = {nullptr, nullptr};
    int m_rowOf[2] = {-1, -1};
    int m_older = 0;
    unsigned char* m_thumb = nullptr;
    int m_made = 0;  // thumbnail rows made
};

// The whole photo fitted with CRgbImage, as the thumbnail was always made.
unsigned char* ShrinkWholePhoto(unsigned char* photo, int* width, int* height)
{
    int tw = 0, th = 0;
    FitThumbnailSize(*width, *height, &tw, &th);
    CRgbImage image;
    image.SetScaledImage("tmp", photo, *width, *height, tw, th);
    free(photo);
    unsigned char* thumb = image.ExportRgb();
    *width = thumb ? tw : 0;
    *height = thumb ? th : 0;
    return thumb;
}

// The thumbnail turned and mirrored as the photo's orientation says; the
// unturned one is released. Null with 0 x 0 when there is no memory for it.
unsigned char* OrientThumbnail(unsigned char* thumb, int orientation, int* width, int* height)
{
    if (!thumb || orientation == kOrientationAsStored)
        return thumb;
    int ow = 0, oh = 0;
    unsigned char* turned = OrientRgb(thumb, *width, *height, orientation, &ow, &oh);
    free(thumb);
    *width = ow;
    *height = oh;
    return turned;
}

}  // namespace

unsigned char* MakeThumbnail(const char* path, int* width, int* height)
{
    CJpegConverter converter;
    CMeanRows rows;
    unsigned char* photo = nullptr;
    int result = converter.LoadFileRows(path, &rows, &photo);
    *width = converter.GetWidth();
    *height = converter.GetHeight();
    if (result != 0)
        return nullptr;
    unsigned char* thumb =
        photo ? ShrinkWholePhoto(photo, width, height) : rows.TakeThumbnail(width, height);
    if (!thumb)
        *width = *height = 0;
    return OrientThumbnail(thumb, converter.GetOrientation(), width, height);
}
