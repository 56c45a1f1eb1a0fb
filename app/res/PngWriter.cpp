#include "app/res/PngWriter.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

uint32_t Crc32(const unsigned char* data, size_t n, uint32_t crc = 0xFFFFFFFFu)
{
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
}

void Put32(std::string& out, uint32_t v)
{
    out += (char)(v >> 24);
    out += (char)(v >> 16);
    out += (char)(v >> 8);
    out += (char)v;
}

void Chunk(std::string& out, const char* type, const std::string& data)
{
    Put32(out, (uint32_t)data.size());
    std::string body = std::string(type, 4) + data;
    out += body;
    Put32(out, Crc32((const unsigned char*)body.data(), body.size()) ^ 0xFFFFFFFFu);
}

}  // namespace

int WritePng(const char* path, const uint32_t* argb, int width, int height)
{
    if (width <= 0 || height <= 0)
        return -1;
    // Filter byte 0 and R, G, B, A per pixel, row by row.
    std::string raw;
    raw.reserve((size_t)height * (1 + (size_t)width * 4));
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        for (int x = 0; x < width; ++x) {
            const uint32_t p = argb[(size_t)y * width + x];
            raw += (char)(p >> 16);
            raw += (char)(p >> 8);
            raw += (char)p;
            raw += (char)(p >> 24);
        }
    }
    std::string z = "\x78\x01";
    for (size_t at = 0; at < raw.size() || at == 0;) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        const bool last = at + n >= raw.size();
        z += (char)(last ? 1 : 0);
        z += (char)(n & 0xFF);
        z += (char)(n >> 8);
        z += (char)(~n & 0xFF);
        z += (char)((~n >> 8) & 0xFF);
        z.append(raw, at, n);
        at += n;
        if (last)
            break;
    }
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Put32(z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    Put32(header, (uint32_t)width);
    Put32(header, (uint32_t)height);
    header += "\x08\x06";  // 8 bits, RGBA
    header += std::string(3, '\0');
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", std::string());

    FILE* f = fopen(path, "wb");
    if (!f)
        return -1;
    const bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
    return fclose(f) == 0 && ok ? 0 : -1;
}
