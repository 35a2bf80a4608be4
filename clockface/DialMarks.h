#pragma once

#include "clockface/DialGeometry.h"

class Canvas;
class TextRenderer;

// The 60 tick marks (yellow every five minutes, cyan otherwise) and the 12 hour
// numerals, numeral n in the hue of month n.
void drawMarksAndNumerals(Canvas& clockCanvas, const DialGeometry& dial, TextRenderer& textRenderer);
