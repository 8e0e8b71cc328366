#pragma once
// The demo disc's pictures, painted by code from a seed: phone screenshots, covers, manual
// pages and the like. Nothing here is a copy of anything; the same seed always paints the
// same picture, so the disc comes out byte for byte the same on every build.

#include "jpegwriter.h"

#include <cstdint>
#include <string_view>

namespace demo {

// FNV-1a of the text. Items seed their pictures from their own title and folder, so a picture
// does not change when other lines of the catalogue do.
std::uint64_t SeedOf(std::string_view text);

// A small random source of our own (splitmix64): the standard library's distributions differ
// between implementations, and the disc must not.
class Dice
{
public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    int Range(int lo, int hi); // lo..hi, both included
    double Unit();             // [0, 1)
    bool OneIn(int n) { return Range(1, n) == 1; }

private:
    std::uint64_t state_;
};

enum class ArtStyle {
    GameScreen,  // a phone game's screen: status bar, a scene, soft keys
    Cover,       // a record sleeve with a disc on it, for the melodies
    Emblem,      // box art of a program: a large shape on stripes
    ThemeScreen, // a phone desktop with a grid of icons, for the themes
    Landscape,   // hills, sky and sun or moon: wallpapers and screen savers
    FilmFrame,   // a landscape between film-strip edges, for the video clips
    Page,        // a page of a phone manual: a drawn phone and lines of "text"
    Magazine,    // an article's page: masthead, a picture, columns
};

RgbImage Paint(ArtStyle style, int width, int height, std::uint64_t seed);

} // namespace demo
