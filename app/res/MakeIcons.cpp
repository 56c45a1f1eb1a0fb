// Build-time tool: writes the application icon as PNG files in the hicolor
// layout, <dir>/<n>x<n>/apps/pixmoor.png.
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "app/res/AppIcon.h"
#include "app/res/PngWriter.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: pixmoor_make_icons <output dir>\n");
        return 2;
    }
    const std::string root = argv[1];
    for (int size : { 16, 32, 48, 64, 128, 256 }) {
        std::string dir = root;
        mkdir(dir.c_str(), 0755);
        dir += "/" + std::to_string(size) + "x" + std::to_string(size);
        mkdir(dir.c_str(), 0755);
        dir += "/apps";
        mkdir(dir.c_str(), 0755);
        std::vector<uint32_t> pixels((size_t)size * size);
        DrawAppIcon(size, pixels.data());
        if (WritePng((dir + "/pixmoor.png").c_str(), pixels.data(), size, size) != 0) {
            fprintf(stderr, "pixmoor_make_icons: cannot write %s/pixmoor.png\n", dir.c_str());
            return 1;
        }
    }
    return 0;
}
