#pragma once

// The board names Windows fonts; where they are missing, map them to fonts that the
// setup installs, so Chinese meanings render and sizes stay close to the design.
void installFontSubstitutes();
