// The fonts every picture is drawn with, the same on each machine that
// tools/setup.sh set up, so that reference pictures made on one hold on
// another: only the DejaVu and Liberation families from Debian's packages,
// the module's face Courier New set in the metric-compatible Liberation Mono,
// the generic Sans and Monospace in DejaVu, and one way of rendering glyphs
// (grey anti-aliasing, slight hinting), whatever the machine's or the user's
// own fontconfig settings say. A machine without those fonts keeps its own
// configuration (and its pictures may differ from the references).
#pragma once

namespace render {

// Makes the fixed configuration fontconfig's current one, once, before any text is laid out; every function of
// the renderer that sets text calls it.
void UseFixedFonts();
// After the font caches were handed back, the next text sets the configuration up again.
void ForgetFixedFonts();

}  // namespace render
