// Writes small JPEG streams tagged with every Exif orientation, in both byte
// orders, into the directory given: seeds for fuzz_exif and fuzz_decode.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "codec/JpegConverter.h"
#include "tools/ExifBlock.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const int w = 16, h = 8;
    std::vector<unsigned char> rgb((size_t)w * h * 3);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = (unsigned char)(i * 7);
    CJpegConverter encoder;
    unsigned char* jpeg = encoder.Encode(rgb.data(), w, h);
    if (!jpeg)
        return 1;
    const std::vector<unsigned char> plain(jpeg, jpeg + encoder.GetSize());
    free(jpeg);
    for (int o = 1; o <= 8; ++o)
        for (bool bigEndian : { false, true }) {
            const std::vector<unsigned char> tagged = WithExifOrientation(plain, o, bigEndian);
            const std::string name = std::string(argv[1]) + "/exif-" + std::to_string(o) +
                                     (bigEndian ? "-mm" : "-ii") + ".jpg";
            FILE* f = fopen(name.c_str(), "wb");
            if (!f || fwrite(tagged.data(), 1, tagged.size(), f) != tagged.size())
                return 1;
            fclose(f);
        }
    return 0;
}
