// Writes the picture table, with each picture's test colour, as JSON for the
// browser tests: the same files, in the same order, as the program loads.
#include <cstdio>

#include "media/picture_table.h"
#include "tests/support/picture_colours.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: picture-list OUT.json\n");
        return 2;
    }
    FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "{\"music\": \"%s\", \"pictures\": [\n", MusicPath);
    for (int i = 0; i < PictureCount; ++i) {
        const PictureColour c = PictureColours[i];
        std::fprintf(out, "  {\"path\": \"%s\", \"name\": \"%s\", \"colour\": [%d, %d, %d]}%s\n", PictureTable[i].path,
                     PictureName(PictureTable[i]), c.r, c.g, c.b, i + 1 < PictureCount ? "," : "");
    }
    std::fprintf(out, "]}\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
