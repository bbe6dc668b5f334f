// The eighteen pictures of the presentation, in the order they are loaded:
// the file, the scene that draws it, the quad it is drawn on and its distance
// from the eye. The scenes draw by it, the decoding sizes each picture by it,
// and the sample media and the tests read it. No OpenGL here: every program
// and tool can include it.
#pragma once

#include <array>
#include <cstring>

// Every file the program reads is in this folder, relative to the working directory.
inline constexpr const char* DataFolder = "data/";
inline constexpr const char* MusicPath = "data/Fast.mp3";

enum class PictureId {
    Logo,
    VekCreds,
    JubCreds,
    SnurfelsCreds,
    QuillackCreds,
    ZephruntCreds,
    EndPicture,
    FlipFrameA,
    FlipFrameB,
    Tuvrel,
    Nerd,
    Lyrics,
    Background,
    Demoscene,
    Vacation1,
    Vacation2,
    Vacation3,
    Ass,
};
inline constexpr int PictureCount = 18;

enum class DrawnBy { OpeningLogo, MainSection, PhotoSchedule, Credits };

// Corners of a quad at z 0, in units; the texture spans it whole.
struct Quad {
    float left, bottom, right, top;
    constexpr float Width() const { return right - left; }
    constexpr float Height() const { return top - bottom; }
};

struct PictureEntry {
    PictureId id;
    const char* path;
    DrawnBy scene;
    Quad quad;
    float distance;  // the nearest it is ever drawn at
};

inline constexpr Quad UnitQuad{-1.0f, -1.0f, 1.0f, 1.0f};
// The logo's tall quad rises through the view; the credits' wide one just overfills it.
inline constexpr Quad LogoQuad{-1.0f, -1.0f, 1.0f, 4.0f};
inline constexpr Quad CreditsQuad{-1.0f, -1.0f, 1.7f, 1.0f};

inline constexpr float LogoDistance = 1.769f;
inline constexpr float CreditsDistance = 2.41f;
inline constexpr float BackgroundDistance = 1.8f;
inline constexpr float LyricsDistance = 1.65f;
// Where the main section's photo layer stands; the flip frames are drawn there.
inline constexpr float PhotoLayerDistance = 1.5f;

inline constexpr PictureEntry PictureTable[PictureCount] = {
    {PictureId::Logo, "data/qorlogo.jpg", DrawnBy::OpeningLogo, LogoQuad, LogoDistance},
    {PictureId::VekCreds, "data/VekCreds.jpg", DrawnBy::Credits, CreditsQuad, CreditsDistance},
    {PictureId::JubCreds, "data/JubCreds.jpg", DrawnBy::Credits, CreditsQuad, CreditsDistance},
    {PictureId::SnurfelsCreds, "data/SnurfelsCreds.jpg", DrawnBy::Credits, CreditsQuad, CreditsDistance},
    {PictureId::QuillackCreds, "data/QuillackCreds.jpg", DrawnBy::Credits, CreditsQuad, CreditsDistance},
    {PictureId::ZephruntCreds, "data/ZephruntCreds.jpg", DrawnBy::Credits, CreditsQuad, CreditsDistance},
    {PictureId::EndPicture, "data/SluttBilde.jpg", DrawnBy::Credits, CreditsQuad, CreditsDistance},
    {PictureId::FlipFrameA, "data/Dwip1.png", DrawnBy::PhotoSchedule, UnitQuad, PhotoLayerDistance},
    {PictureId::FlipFrameB, "data/Dwip2.png", DrawnBy::PhotoSchedule, UnitQuad, PhotoLayerDistance},
    {PictureId::Tuvrel, "data/DwipTuvrel.png", DrawnBy::PhotoSchedule, UnitQuad, 2.0f},
    {PictureId::Nerd, "data/Nerd.jpg", DrawnBy::PhotoSchedule, UnitQuad, 4.0f},
    {PictureId::Lyrics, "data/Lyrics.png", DrawnBy::MainSection, UnitQuad, LyricsDistance},
    {PictureId::Background, "data/KX07.jpg", DrawnBy::MainSection, UnitQuad, BackgroundDistance},
    {PictureId::Demoscene, "data/Demoscene.jpg", DrawnBy::PhotoSchedule, UnitQuad, 4.0f},
    {PictureId::Vacation1, "data/DwipVacation1.jpg", DrawnBy::PhotoSchedule, UnitQuad, 3.0f},
    {PictureId::Vacation2, "data/DwipVacation2.jpg", DrawnBy::PhotoSchedule, UnitQuad, 3.0f},
    {PictureId::Vacation3, "data/DwipVacation3.jpg", DrawnBy::PhotoSchedule, UnitQuad, 3.0f},
    {PictureId::Ass, "data/Ass.jpg", DrawnBy::PhotoSchedule, UnitQuad, 3.0f},
};

// For each picture of the table, the first position (bytes of music) at
// which the presentation may show it.
using PictureMoments = std::array<float, PictureCount>;

constexpr int PictureIndex(PictureId id) {
    return static_cast<int>(id);
}

constexpr const PictureEntry& Picture(PictureId id) {
    return PictureTable[PictureIndex(id)];
}

// A file's name inside the data folder.
inline const char* DataFileName(const char* path) {
    return path + std::strlen(DataFolder);
}

inline const char* PictureName(const PictureEntry& entry) {
    return DataFileName(entry.path);
}

namespace picture_table_checks {
constexpr bool InData(const char* path) {
    for (const char* folder = DataFolder; *folder != '\0'; ++folder, ++path) {
        if (*path != *folder) {
            return false;
        }
    }
    return true;
}
constexpr bool Ordered() {
    for (int i = 0; i < PictureCount; ++i) {
        if (PictureIndex(PictureTable[i].id) != i || !InData(PictureTable[i].path)) {
            return false;
        }
    }
    return InData(MusicPath);
}
static_assert(Ordered(), "each row stands at its id's place, and every file is in the data folder");
}  // namespace picture_table_checks
