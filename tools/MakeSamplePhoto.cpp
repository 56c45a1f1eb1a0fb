// Renders the project's own sample photo: a colourful test chart (hue and
// brightness gradients, colour bars, grey steps, a zone plate of concentric
// rings, a star of lines, circles and a fine checkerboard) encoded with the
// viewer's own converter at quality 90.
//
// Usage: pixmoor_make_sample OUTPUT.jpg [WIDTH HEIGHT]   (default 4000 x 3000)

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "codec/JpegConverter.h"

namespace {

struct Rgb {
    unsigned char r, g, b;
};

unsigned char Clamp(double v)
{
    return (unsigned char)(v < 0 ? 0 : v > 255 ? 255 : v + 0.5);
}

// Hue in [0, 1), full saturation, value in [0, 1].
Rgb Hue(double h, double value)
{
    double r = std::fabs(h * 6 - 3) - 1;
    double g = 2 - std::fabs(h * 6 - 2);
    double b = 2 - std::fabs(h * 6 - 4);
    auto c = [value](double x) { return Clamp(255 * value * (x < 0 ? 0 : x > 1 ? 1 : x)); };
    return {c(r), c(g), c(b)};
}

class CChart {
public:
    CChart(int width, int height) : m_w(width), m_h(height), m_px((size_t)width * height * 3) {}

    void Render()
    {
        for (int y = 0; y < m_h; y++)
            for (int x = 0; x < m_w; x++)
                Put(x, y, Pixel(x, y));
    }

    const unsigned char* Data() const { return m_px.data(); }

private:
    void Put(int x, int y, Rgb c)
    {
        unsigned char* p = &m_px[((size_t)y * m_w + x) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }

    Rgb Pixel(int x, int y) const
    {
        const double u = (double)x / m_w, v = (double)y / m_h;
        // Top band: hue across, brightness down.
        if (v < 0.30)
            return Hue(u, 1.0 - v / 0.30 * 0.85);
        // Colour bars, then grey steps.
        if (v < 0.42) {
            static const Rgb bars[8] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235},
                                        {16, 235, 16},   {235, 16, 235}, {235, 16, 16},
                                        {16, 16, 235},   {16, 16, 16}};
            return bars[(int)(u * 8) & 7];
        }
        if (v < 0.48) {
            unsigned char g = Clamp(255.0 * (int)(u * 16) / 15);
            return {g, g, g};
        }
        // Lower part: three panels.
        const double panelTop = 0.48 * m_h, panelHeight = m_h - panelTop;
        const double py = (y - panelTop) / panelHeight;
        if (u < 1.0 / 3)
            return ZonePlate(u * 3, py);
        if (u < 2.0 / 3)
            return Star(u * 3 - 1, py);
        return Circles(u * 3 - 2, py, x, y);
    }

    // Concentric rings whose frequency rises outwards: fine detail that shows
    // every resampling artefact.
    Rgb ZonePlate(double u, double v) const
    {
        double dx = (u - 0.5) * m_w / 3, dy = (v - 0.5) * m_h * 0.52;
        double phase = (dx * dx + dy * dy) * 3.14159265 / (m_w / 3.0);
        double s = 0.5 + 0.5 * std::cos(phase);
        return {Clamp(255 * s), Clamp(255 * s * (0.6 + 0.4 * u)), Clamp(255 * s * (1 - 0.4 * v))};
    }

    // A star of 72 alternating wedges on a warm-to-cool background.
    Rgb Star(double u, double v) const
    {
        double dx = u - 0.5, dy = (v - 0.5) * 0.52 * 3 * m_h / m_w;
        double angle = std::atan2(dy, dx);
        int wedge = (int)std::floor((angle + 3.14159265) / (2 * 3.14159265) * 72);
        double r = std::sqrt(dx * dx + dy * dy);
        if (r < 0.45 && (wedge & 1))
            return {20, 20, 30};
        return Hue(0.08 + 0.5 * v, 0.95);
    }

    // Coloured discs over a checkerboard that alternates every pixel in its
    // lower half and every eight pixels above.
    Rgb Circles(double u, double v, int x, int y) const
    {
        static const struct {
            double cx, cy, r;
            Rgb c;
        } discs[] = {{0.30, 0.30, 0.22, {230, 40, 40}},
                     {0.65, 0.35, 0.20, {40, 200, 60}},
                     {0.45, 0.62, 0.24, {50, 80, 230}},
                     {0.78, 0.75, 0.12, {250, 210, 30}}};
        const double aspect = 0.52 * 3 * m_h / m_w;
        for (const auto& d : discs) {
            double dx = u - d.cx, dy = (v - d.cy) * aspect;
            double dist = std::sqrt(dx * dx + dy * dy);
            if (dist < d.r) {
                double shade = 1.0 - 0.5 * dist / d.r;
                return {Clamp(d.c.r * shade), Clamp(d.c.g * shade), Clamp(d.c.b * shade)};
            }
            if (dist < d.r + 0.004)
                return {255, 255, 255};
        }
        int cell = v > 0.5 ? 1 : 8;
        bool dark = ((x / cell) + (y / cell)) & 1;
        return dark ? Rgb{40, 40, 40} : Rgb{215, 215, 215};
    }

    int m_w, m_h;
    std::vector<unsigned char> m_px;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 4) {
        fprintf(stderr, "usage: %s OUTPUT.jpg [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    int width = argc == 4 ? atoi(argv[2]) : 4000;
    int height = argc == 4 ? atoi(argv[3]) : 3000;
    if (width < 16 || height < 16 || width > 16000 || height > 16000) {
        fprintf(stderr, "%s: size out of range\n", argv[0]);
        return 2;
    }
    CChart chart(width, height);
    chart.Render();

    CJpegConverter converter;
    converter.m_nQuality = 90;
    unsigned char* jpeg = converter.Encode(chart.Data(), width, height);
    if (!jpeg) {
        fprintf(stderr, "%s: encoding failed\n", argv[0]);
        return 1;
    }
    FILE* out = fopen(argv[1], "wb");
    bool ok = out && fwrite(jpeg, 1, (size_t)converter.GetSize(), out) == (size_t)converter.GetSize();
    if (out && fclose(out) != 0)
        ok = false;
    free(jpeg);
    if (!ok) {
        fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        remove(argv[1]);
        return 1;
    }
    return 0;
}
