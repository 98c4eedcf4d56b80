#pragma once

// The windows name Windows fonts; where they are missing, each maps to its stand-ins
// (FontFamilies), fonts that the setup installs.
void installFontSubstitutes();
