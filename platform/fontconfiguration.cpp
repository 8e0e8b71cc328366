#include "fontconfiguration.h"

#include <fontconfig/fontconfig.h>

namespace platform {

namespace {

// "xdg" folders are the user's: $XDG_DATA_HOME/fonts and $XDG_CACHE_HOME/fontconfig.
constexpr char kConfiguration[] = R"(<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <alias><family>sans-serif</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias><family>sans</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias><family>Sans Serif</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias><family>serif</family><prefer><family>DejaVu Serif</family></prefer></alias>
  <alias><family>monospace</family><prefer><family>DejaVu Sans Mono</family></prefer></alias>
  <match target="font">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="embolden" mode="assign"><bool>false</bool></edit>
  </match>
</fontconfig>
)";

} // namespace

bool UseOwnFontConfiguration()
{
    FcConfig* config = FcConfigCreate();
    if (!config) return false;
    const bool ready = FcConfigParseAndLoadFromMemory(
                           config, reinterpret_cast<const FcChar8*>(kConfiguration), FcTrue) &&
                       FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    // fontconfig keeps its own reference to the current configuration.
    FcConfigDestroy(config);
    return ready;
}

} // namespace platform
