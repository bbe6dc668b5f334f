// A contact sheet: thumbnails of frames in rows, in order, each with its
// moment in the music written under it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SheetLayout {
    int columns, rows;
    int tileWidth, tileHeight;
    int margin, labelHeight;
    int width, height;
    // The top-left corner of tile i.
    int TileX(int i) const { return margin + (i % columns) * (tileWidth + margin); }
    int TileY(int i) const { return margin + (i / columns) * (tileHeight + labelHeight + margin); }
};

SheetLayout LayOutSheet(int tiles, int tileWidth, int tileHeight);

class ContactSheet {
public:
    explicit ContactSheet(const SheetLayout& layout);
    // Reduces a frame (RGBA rows from the bottom up) into tile i and labels it.
    void Place(int i, const std::vector<uint8_t>& rgba, int width, int height, double seconds);
    // RGB rows from the top down.
    const std::vector<uint8_t>& Rgb() const { return rgb; }
    // Why labels are missing, or "".
    const std::string& LabelProblem() const { return labelProblem; }

private:
    void Label(int i, const char* text);

    SheetLayout layout;
    std::vector<uint8_t> rgb;
    std::string labelProblem;
};
