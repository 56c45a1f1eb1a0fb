#include "tests/codec/CodecTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include <jpeglib.h>

#include "codec/JpegConverter.h"

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

// libjpeg's own encoder with its memory destination: `components` of 3 is
// RGB in, 4 is CMYK in; defaults, then the quality with baseline forced.
static std::vector<unsigned char> LibraryEncodeAs(const std::vector<unsigned char>& pixels,
                                                  int width, int height, int components,
                                                  int quality, Stored stored)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = (JDIMENSION)width;
    cinfo.image_height = (JDIMENSION)height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (stored == Stored::kYcck)
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    if (stored == Stored::kNoAdobeMarker)
        cinfo.write_Adobe_marker = FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = (size_t)width * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&pixels[cinfo.next_scanline * stride]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<unsigned char> result(out, out + outSize);
    free(out);
    return result;
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
