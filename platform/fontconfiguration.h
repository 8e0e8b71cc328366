#pragma once
// The program's own font configuration.
//
// The windows draw every text in DejaVu Sans at fixed pixel sizes, and their layout depends on
// how wide those texts come out. The system's and the user's fontconfig rules may substitute
// another face for DejaVu Sans, embolden or slant it, or change its hinting, and every one of
// those changes the widths; reading the fifty-odd rule files is also the largest part of the
// font system's start. So the program gives fontconfig a small configuration of its own: the
// system's and the user's font folders with their caches (other faces still serve as
// fallbacks for characters DejaVu does not have), the generic names mapped to DejaVu, grey
// antialiasing, and no rules from anywhere else.

namespace platform {

// Makes the program's configuration fontconfig's current one. Must run before anything asks
// fontconfig for a font, that is before the application object is made. Returns false, and
// leaves fontconfig to its usual configuration, when this one cannot be set up.
bool UseOwnFontConfiguration();

} // namespace platform
