#include "render/fixed_fonts.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>
#include <string>

namespace render {
namespace {

constexpr const char* kFontFolders[] = {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation"};

// The fonts of kFontFolders only (the machine's own cache kept); families by their own names, the module's face and
// the generic names by alias; and one rendering for every font, since a user's subpixel order or full hinting would
// move every glyph's edge pixels.
constexpr const char* kConfiguration = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <dir>/usr/share/fonts/truetype/liberation</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <alias binding="same"><family>Courier New</family><accept><family>Liberation Mono</family></accept></alias>
  <alias binding="same"><family>Courier</family><accept><family>Liberation Mono</family></accept></alias>
  <alias binding="same"><family>Arial</family><accept><family>Liberation Sans</family></accept></alias>
  <alias binding="same"><family>Times New Roman</family><accept><family>Liberation Serif</family></accept></alias>
  <alias><family>Sans</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias><family>sans-serif</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias><family>Serif</family><prefer><family>DejaVu Serif</family></prefer></alias>
  <alias><family>Monospace</family><prefer><family>DejaVu Sans Mono</family></prefer></alias>
  <match target="font">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintslight</const></edit>
    <edit name="autohint" mode="assign"><bool>false</bool></edit>
    <edit name="rgba" mode="assign"><const>none</const></edit>
    <edit name="lcdfilter" mode="assign"><const>lcddefault</const></edit>
    <edit name="embeddedbitmap" mode="assign"><bool>false</bool></edit>
  </match>
</fontconfig>
)";

bool settled = false;

}  // namespace

void UseFixedFonts() {
    if (settled) return;
    settled = true;
    std::error_code error;
    for (const char* folder : kFontFolders)
        if (!std::filesystem::is_directory(folder, error)) return;
    FcConfig* config = FcConfigCreate();
    if (config == nullptr) return;
    // Made current, fontconfig holds a reference of its own (handed back at FcFini).
    if (FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kConfiguration), FcTrue) &&
        FcConfigBuildFonts(config))
        FcConfigSetCurrent(config);
    FcConfigDestroy(config);
}

void ForgetFixedFonts() { settled = false; }

}  // namespace render
