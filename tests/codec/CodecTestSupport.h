#pragma once
// Helpers shared by the codec tests: test files, digests, standard error
// capture, and small libjpeg encoders for streams the converter cannot make.

#include <cstdint>
#include <string>
#include <vector>

std::string DataPath(const std::string& name);
std::vector<unsigned char> ReadBytes(const std::string& path);

// FNV-1a, 64 bits: the digest the reference table was computed with.
uint64_t Fnv1a64(const unsigned char* data, size_t size);

// Redirects file descriptor 2 to a temporary file for its lifetime; Text()
// returns what was written so far.
class CStderrCapture {
public:
    CStderrCapture();
    ~CStderrCapture();
    std::string Text();

private:
    int m_saved;
    FILE* m_file;
};

class CJpegConverter;

// conv.Decode(bytes) with standard error captured into `text`. The raster
// is the caller's to free.
unsigned char* DecodeCapturing(CJpegConverter& conv, const std::vector<unsigned char>& bytes,
                               std::string* text);

// Counts the non-overlapping occurrences of `needle` in `text`.
int CountOf(const std::string& text, const std::string& needle);

// Encodes width x height four-component pixels with libjpeg (CMYK in, CMYK
// stored) at quality 100; `adobe` chooses whether the APP14 marker is written.
std::vector<unsigned char> EncodeCmyk(const std::vector<unsigned char>& cmyk, int width,
                                      int height, bool adobe);

// The stream libjpeg itself makes from an R, G, B raster: defaults, then the
// quality with baseline forced, all tables written.
std::vector<unsigned char> LibraryEncode(const std::vector<unsigned char>& rgb, int width,
                                         int height, int quality);

// How LibraryEncodeWith encodes: luminance sampling factors (chroma 1 x 1),
// progressive scans, grayscale, restart interval in MCU rows.
struct EncodeOptions {
    int quality = 85;
    int hSamp = 2;
    int vSamp = 2;
    bool progressive = false;
    bool gray = false;
    int restartRows = 0;
};
std::vector<unsigned char> LibraryEncodeWith(const std::vector<unsigned char>& rgb, int width,
                                             int height, const EncodeOptions& options);

// A whole progressive 2000 x 2000 stream at 4:4:4: it keeps 24 MB of
// coefficients beside its 12 MB raster.
std::vector<unsigned char> ProgressiveFullChroma2000();

// A photo-like R, G, B picture: gradients, edges and fine noise.
std::vector<unsigned char> PhotoPixels(int width, int height, uint32_t seed);

// The library's own decode of a stream held in memory (jpeg_mem_src, default
// settings, as djpeg decodes), grayscale repeated as R, G, B. Empty when the
// library fails; *width and *height get its output size.
std::vector<unsigned char> LibraryDecode(const std::vector<unsigned char>& jpeg, int* width,
                                         int* height);

// The 64 luminance quantiser values of a stream, in natural order.
std::vector<unsigned> LuminanceQuantTable(const unsigned char* jpeg, size_t size);

// The raster under a free()-on-destruction owner.
struct FreeDeleter {
    void operator()(unsigned char* p) const;
};

// As EncodeCmyk, but stored as YCCK (the library writes the Adobe marker
// with transform 2); the samples are taken as Adobe-inverted CMYK.
std::vector<unsigned char> EncodeYcck(const std::vector<unsigned char>& cmyk, int width,
                                      int height);
