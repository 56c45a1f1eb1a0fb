#include "bench/thumbcache/BenchPhotos.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <utility>

#include <jpeglib.h>

#include "codec/JpegConverter.h"

std::vector<unsigned char> MakePhotoPixels(int width, int height, unsigned seed)
{
    std::vector<unsigned char> px((size_t)width * height * 3);
    uint32_t x = seed * 2654435761u + 1;
    for (int r = 0; r < height; ++r) {
        unsigned char* row = &px[(size_t)r * width * 3];
        for (int c = 0; c < width; ++c) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            int noise = (int)(x & 31) - 16;
            row[3 * c] = (unsigned char)std::clamp((c * 255) / width + noise, 0, 255);
            row[3 * c + 1] = (unsigned char)std::clamp((r * 255) / height + noise, 0, 255);
            row[3 * c + 2] = (unsigned char)std::clamp(((c / 64 + r / 64) % 2) * 180 + noise + 30, 0, 255);
        }
    }
    return px;
}

namespace {

bool WriteJpeg(const std::string& path, const unsigned char* px, int width, int height, int quality)
{
    CJpegConverter converter;
    converter.m_nQuality = quality;
    unsigned char* jpeg = converter.Encode(px, width, height);
    if (!jpeg)
        return false;
    FILE* f = fopen(path.c_str(), "wb");
    bool ok = f && fwrite(jpeg, 1, (size_t)converter.GetSize(), f) == (size_t)converter.GetSize();
    if (f)
        fclose(f);
    free(jpeg);
    return ok;
}

// The file's bytes, or empty.
std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    unsigned char buf[1 << 16];
    size_t got;
    while ((got = fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + got);
    fclose(f);
    return bytes;
}

// The same picture as a progressive stream (jpeg_simple_progression), made
// from the baseline file's coefficients, so both decode to the same pixels.
bool WriteProgressive(const std::string& baseline, const std::string& path)
{
    std::vector<unsigned char> in = ReadFileBytes(baseline);
    FILE* out = fopen(path.c_str(), "wb");
    if (in.empty() || !out) {
        if (out)
            fclose(out);
        return false;
    }
    jpeg_decompress_struct src;
    jpeg_compress_struct dst;
    jpeg_error_mgr srcErr, dstErr;
    src.err = jpeg_std_error(&srcErr);
    dst.err = jpeg_std_error(&dstErr);
    jpeg_create_decompress(&src);
    jpeg_create_compress(&dst);
    jpeg_mem_src(&src, in.data(), (unsigned long)in.size());
    jpeg_read_header(&src, TRUE);
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&src);
    jpeg_copy_critical_parameters(&src, &dst);
    jpeg_simple_progression(&dst);
    jpeg_stdio_dest(&dst, out);
    jpeg_write_coefficients(&dst, coefficients);
    jpeg_finish_compress(&dst);
    jpeg_finish_decompress(&src);
    jpeg_destroy_compress(&dst);
    jpeg_destroy_decompress(&src);
    return fclose(out) == 0;
}

}  // namespace

// Photos of 4 to 24 megapixels at 3:2 (one of them upright), test charts and
// noisy gradients in turn, and both kinds at 24 MP; each baseline and
// progressive. Names say the size, the kind and the coding.
std::vector<std::string> MakePhotos(const std::string& dir)
{
    const int megapixels[] = {4, 6, 9, 12, 16, 20, 24, 24};
    std::vector<std::string> photos;
    for (int i = 0; i < 8; ++i) {
        int width = (int)std::sqrt(megapixels[i] * 1e6 * 3 / 2);
        int height = width * 2 / 3;
        if (i == 3)
            std::swap(width, height);
        const bool chart = i % 2 == 0;
        std::string base = dir + "/" + std::to_string(megapixels[i]) + "mp-" +
                           (chart ? "chart" : "noise") + "-" + std::to_string(i);
        std::string baseline = base + "-baseline.jpg";
        bool ok;
        if (chart) {
            std::string cmd = std::string("'") + PIXMOOR_MAKE_SAMPLE + "' '" + baseline + "' " +
                              std::to_string(width) + " " + std::to_string(height);
            ok = system(cmd.c_str()) == 0;
        } else {
            std::vector<unsigned char> px = MakePhotoPixels(width, height, (unsigned)i);
            ok = WriteJpeg(baseline, px.data(), width, height, 90);
        }
        if (ok && WriteProgressive(baseline, base + "-progressive.jpg")) {
            photos.push_back(baseline);
            photos.push_back(base + "-progressive.jpg");
        }
    }
    return photos;
}

std::vector<std::string> ListPhotos(const std::string& dir)
{
    std::vector<std::string> photos;
    DIR* d = opendir(dir.c_str());
    if (!d)
        return photos;
    while (struct dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() > 4 && (name.substr(name.size() - 4) == ".jpg" || name.substr(name.size() - 4) == ".JPG"))
            photos.push_back(dir + "/" + name);
    }
    closedir(d);
    std::sort(photos.begin(), photos.end());
    return photos;
}

