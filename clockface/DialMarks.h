#pragma once

#include "clockface/DialGeometry.h"

class Canvas;
class TextRenderer;

// The 60 tick marks (yellow every five minutes, cyan otherwise) and the 12 hour
// numerals, numeral n in the hue of month n.
void drawMarksAndNumerals(Canvas& clockCanvas, const DialGeometry& dial, TextRenderer& textRenderer);

// The 60 tick marks alone, without text: for pictures of the dial too small for
// numerals, such as the program's icon.
void drawMarks(Canvas& clockCanvas, const DialGeometry& dial);
