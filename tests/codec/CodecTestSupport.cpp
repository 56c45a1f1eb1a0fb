#include "tests/codec/CodecTestSupport.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <unistd.h>

#include <jpeglib.h>

#include "codec/JpegConverter.h"
#include "tools/LibjpegEncode.h"

std::string DataPath(const std::string& name)
{
    return std::string(PIXMOOR_TEST_DATA) + "/" + name;
}

std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

uint64_t Fnv1a64(const unsigned char* data, size_t size)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < size; i++) {
        h ^= data[i];
        h *= 0x100000001b3ull;
    }
    return h;
}

CStderrCapture::CStderrCapture()
{
    fflush(stderr);
    m_saved = dup(2);
    m_file = tmpfile();
    dup2(fileno(m_file), 2);
}

CStderrCapture::~CStderrCapture()
{
    fflush(stderr);
    dup2(m_saved, 2);
    close(m_saved);
    fclose(m_file);
}

std::string CStderrCapture::Text()
{
    fflush(stderr);
    std::string text;
    long end = ftell(m_file);
    fseek(m_file, 0, SEEK_END);
    long size = ftell(m_file);
    rewind(m_file);
    text.resize((size_t)size);
    if (size > 0 && fread(&text[0], 1, (size_t)size, m_file) != (size_t)size)
        text.clear();
    fseek(m_file, end, SEEK_SET);
    return text;
}

unsigned char* DecodeCapturing(CJpegConverter& conv, const std::vector<unsigned char>& bytes,
                               std::string* text)
{
    CStderrCapture capture;
    unsigned char* raster = conv.Decode(bytes.data(), (uint32_t)bytes.size());
    *text = capture.Text();
    return raster;
}

int CountOf(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (size_t pos = text.find(needle); pos != std::string::npos;
         pos = text.find(needle, pos + needle.size()))
        n++;
    return n;
}

enum class Stored { kAsDefault, kNoAdobeMarker, kYcck };

// The defaults, then the quality with baseline forced.
static std::vector<unsigned char> LibraryEncodeAs(const std::vector<unsigned char>& pixels,
                                                  int width, int height, int components,
                                                  int quality, Stored stored)
{
    return LibjpegEncodeRows(pixels, width, height, components, [&](jpeg_compress_struct& cinfo) {
        jpeg_set_quality(&cinfo, quality, TRUE);
        if (stored == Stored::kYcck)
            jpeg_set_colorspace(&cinfo, JCS_YCCK);
        if (stored == Stored::kNoAdobeMarker)
            cinfo.write_Adobe_marker = FALSE;
    });
}

std::vector<unsigned char> LibraryEncode(const std::vector<unsigned char>& rgb, int width,
                                         int height, int quality)
{
    return LibraryEncodeAs(rgb, width, height, 3, quality, Stored::kAsDefault);
}

std::vector<unsigned char> EncodeCmyk(const std::vector<unsigned char>& cmyk, int width,
                                      int height, bool adobe)
{
    // For CMYK input the library writes the Adobe marker unless told not to.
    return LibraryEncodeAs(cmyk, width, height, 4, 100,
                           adobe ? Stored::kAsDefault : Stored::kNoAdobeMarker);
}

std::vector<unsigned char> EncodeYcck(const std::vector<unsigned char>& cmyk, int width,
                                      int height)
{
    return LibraryEncodeAs(cmyk, width, height, 4, 100, Stored::kYcck);
}

std::vector<unsigned> LuminanceQuantTable(const unsigned char* jpeg, size_t size)
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg, (unsigned long)size);
    jpeg_read_header(&cinfo, TRUE);
    std::vector<unsigned> table;
    if (cinfo.quant_tbl_ptrs[0])
        table.assign(cinfo.quant_tbl_ptrs[0]->quantval, cinfo.quant_tbl_ptrs[0]->quantval + 64);
    jpeg_destroy_decompress(&cinfo);
    return table;
}

void FreeDeleter::operator()(unsigned char* p) const
{
    free(p);
}

std::vector<unsigned char> LibraryEncodeWith(const std::vector<unsigned char>& rgb, int width,
                                             int height, const EncodeOptions& options)
{
    return LibjpegEncodeRows(rgb, width, height, 3, [&](jpeg_compress_struct& cinfo) {
        jpeg_set_quality(&cinfo, options.quality, TRUE);
        if (options.gray)
            jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
        cinfo.comp_info[0].h_samp_factor = options.hSamp;
        cinfo.comp_info[0].v_samp_factor = options.vSamp;
        cinfo.restart_in_rows = options.restartRows;
        if (options.progressive)
            jpeg_simple_progression(&cinfo);
    });
}

std::vector<unsigned char> PhotoPixels(int width, int height, uint32_t seed)
{
    std::vector<unsigned char> px((size_t)width * height * 3);
    uint32_t x = seed * 2654435761u + 1;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            int noise = (int)(x & 15) - 8;
            unsigned char* p = &px[((size_t)r * width + c) * 3];
            p[0] = (unsigned char)std::clamp(c * 255 / width + noise, 0, 255);
            p[1] = (unsigned char)std::clamp(r * 255 / height + noise, 0, 255);
            p[2] = (unsigned char)std::clamp(((c / 37 + r / 23) % 2) * 160 + 40 + noise, 0, 255);
        }
    return px;
}

namespace {

struct LibraryError {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

void LibraryDecodeExit(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<LibraryError*>(cinfo->err)->jump, 1);
}

// Plain C data between setjmp and longjmp: the pixels go to a malloc block.
bool RunLibraryDecode(jpeg_decompress_struct* cinfo, LibraryError* err,
                      const std::vector<unsigned char>& jpeg, unsigned char** pixels)
{
    if (setjmp(err->jump))
        return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, jpeg.data(), (unsigned long)jpeg.size());
    jpeg_read_header(cinfo, TRUE);
    jpeg_start_decompress(cinfo);
    const size_t stride = (size_t)cinfo->output_width * cinfo->output_components;
    *pixels = (unsigned char*)malloc(stride * cinfo->output_height + 1);
    if (!*pixels)
        return false;
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = *pixels + stride * cinfo->output_scanline;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

std::vector<unsigned char> LibraryDecode(const std::vector<unsigned char>& jpeg, int* width,
                                         int* height)
{
    jpeg_decompress_struct cinfo;
    LibraryError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = LibraryDecodeExit;
    err.pub.output_message = [](j_common_ptr) {};
    unsigned char* pixels = nullptr;
    bool ok = RunLibraryDecode(&cinfo, &err, jpeg, &pixels);
    *width = (int)cinfo.output_width;
    *height = (int)cinfo.output_height;
    std::vector<unsigned char> rgb;
    if (ok) {
        const size_t n = (size_t)*width * *height;
        if (cinfo.output_components == 1) {
            rgb.resize(n * 3);
            for (size_t i = 0; i < n; ++i)
                rgb[3 * i] = rgb[3 * i + 1] = rgb[3 * i + 2] = pixels[i];
        } else {
            rgb.assign(pixels, pixels + n * 3);
        }
    }
    free(pixels);
    jpeg_destroy_decompress(&cinfo);
    return rgb;
}

std::vector<unsigned char> ProgressiveFullChroma2000()
{
    EncodeOptions options;
    options.hSamp = 1;
    options.vSamp = 1;
    options.progressive = true;
    options.quality = 50;
    return LibraryEncodeWith(PhotoPixels(2000, 2000, 4), 2000, 2000, options);
}
