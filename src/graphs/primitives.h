// SPDX-License-Identifier: GPL-3.0-or-later
// The four drawing primitives and the small helpers the graphs use to set the
// drawing state before calling them. Every primitive reads the DrawState of
// the context and draws on k.target(): the graph area, or the printing page
// while doPrint is set.
#pragma once

#include <string_view>

#include "context/kestrova.h"

namespace ks {

// Strokes (xx, yy)-(xx1, yy1); DashLineType is 0 again afterwards.
void QuartzDrawLine(Kestrova& k, int window);
// Outlines ("Frame") or fills ("Fill") (xx, yy)-(xx1, yy1); any other mode
// draws nothing. s_RectDraw is "Frame" again afterwards.
void QuartzDrawRect(Kestrova& k, int window);
// QuartzText with its baseline starting at (xx, yy).
void QuartzDrawText(Kestrova& k, int window);
// The image resource `name` of folder `subdir`, scaled into rect.
void DrawCGImageFromBandleResource(Kestrova& k, int window, Rect16 rect, std::string_view name,
                                   std::string_view subdir);

// --- helpers: set the state fields, then call a primitive in window 1 ---
void SetColor(Kestrova& k, float r, float g, float b);
void SetGrey(Kestrova& k, float level);
void SetFont(Kestrova& k, int font, float size);
void DrawLineAt(Kestrova& k, float x, float y, float x1, float y1);
void DrawRectAt(Kestrova& k, float x, float y, float x1, float y1, std::string_view mode = "Frame");
void DrawTextAt(Kestrova& k, float x, float y, std::string_view text);

// Grid lines are 0.5 point wide on paper and one pixel (LineW 0) on screen.
inline float GridWidth(const Kestrova& k) { return k.ds.doPrint ? 0.5f : 0.0f; }
// The curve colour of the frequency-axis graphs (orange).
inline void SetCurveStyle(Kestrova& k)
{
    k.ds.LineW = 2.0f;
    SetColor(k, 1.0f, 0.5294f, 0.0f);
}

}  // namespace ks
