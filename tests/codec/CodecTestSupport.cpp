#include "tests/codec/CodecTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include <jpeglib.h>

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

int CountOf(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (size_t pos = text.find(needle); pos != std::string::npos;
         pos = text.find(needle, pos + needle.size()))
        n++;
    return n;
}

static std::vector<unsigned char> EncodeFourComponents(const std::vector<unsigned char>& cmyk,
                                                       int width, int height, bool adobe,
                                                       bool ycck)
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
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    if (ycck)
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    cinfo.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&cmyk[(size_t)cinfo.next_scanline * width * 4]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<unsigned char> result(out, out + outSize);
    free(out);
    return result;
}

std::vector<unsigned char> EncodeCmyk(const std::vector<unsigned char>& cmyk, int width,
                                      int height, bool adobe)
{
    return EncodeFourComponents(cmyk, width, height, adobe, false);
}

std::vector<unsigned char> EncodeYcck(const std::vector<unsigned char>& cmyk, int width,
                                      int height)
{
    return EncodeFourComponents(cmyk, width, height, true, true);
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
