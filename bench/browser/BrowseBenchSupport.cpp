#include "bench/browser/BrowseBenchSupport.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "codec/JpegConverter.h"
#include "platform/MessageBox.h"

namespace {

const DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                     WS_VSCROLL | WS_HSCROLL;

}  // namespace

long long WriteBenchPhoto(const std::string& path, int width, int height, int seed)
{
    std::vector<unsigned char> px((size_t)width * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &px[((size_t)y * width + x) * 3];
            p[0] = (unsigned char)(x * 255 / width + seed);
            p[1] = (unsigned char)(y * 255 / height + 3 * seed);
            p[2] = (unsigned char)(((x / (8 + seed % 13)) ^ (y / 11)) * 37);
        }
    }
    CJpegConverter enc;
    unsigned char* jpeg = enc.Encode(px.data(), width, height);
    FILE* f = jpeg ? fopen(path.c_str(), "wb") : nullptr;
    const bool written = f && fwrite(jpeg, 1, (size_t)enc.GetSize(), f) == (size_t)enc.GetSize();
    if (f && fclose(f) != 0)
        f = nullptr;
    free(jpeg);
    return written && f ? enc.GetSize() : -1;
}

int PrintMessage(const char* text, unsigned int)
{
    fprintf(stderr, "message: %s\n", text);
    return IDOK;
}

CCountingBrowse* OpenBrowser(const char* path)
{
    CCountingBrowse* b = new CCountingBrowse;
    if (!b->Create(nullptr, "Visual Browser", kStyle, CRect(10, 10, 920, 710))) {
        delete b;
        return nullptr;
    }
    b->SetPath(path);
    b->ShowWindow(SW_SHOW);
    return b;
}

void RunUntilFilled(CCountingBrowse* b)
{
    for (int quiet = 0; quiet < 3;) {
        const int before = b->m_passes;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        quiet = b->m_passes == before && b->m_count > 0 ? quiet + 1 : 0;
    }
}

int PicturesListed(const CBrowse& b)
{
    int n = 0;
    for (int slot = 0; slot < b.m_count; ++slot)
        n += b.m_items[slot].GetHeight() != 0;
    return n;
}
