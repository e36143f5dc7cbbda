// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/primitives.h"

#include <cmath>

#include "graphs/canvas.h"

namespace ks {

namespace {

// A design that divides by zero yields infinite or not-a-number positions;
// such a shape has no place on the page and is left out rather than handed
// to the painter.
bool Finite(float a, float b, float c, float d)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

Rgb CurrentColor(const DrawState& s) { return {s.RedCol, s.GrnCol, s.BleCol}; }

float StrokeWidth(const DrawState& s) { return s.LineW > 0.0f ? s.LineW : 1.0f; }

}  // namespace

// The window number names the design window; it is the only window with a
// graph area, so every number draws on the current target.
void QuartzDrawLine(Kestrova& k, int /*window*/)
{
    DrawState& s = k.ds;
    Canvas* c = k.target();
    if (c && Finite(s.xx, s.yy, s.xx1, s.yy1)) {
        int dash = (s.DashLineType == 1 || s.DashLineType == 2) ? s.DashLineType : 0;
        c->line(s.xx, s.yy, s.xx1, s.yy1, CurrentColor(s), StrokeWidth(s), dash);
    }
    s.DashLineType = 0;
}

void QuartzDrawRect(Kestrova& k, int /*window*/)
{
    DrawState& s = k.ds;
    Canvas* c = k.target();
    if (c && Finite(s.xx, s.yy, s.xx1, s.yy1)) {
        if (s.s_RectDraw == "Frame")
            c->frameRect(s.xx, s.yy, s.xx1, s.yy1, CurrentColor(s), StrokeWidth(s));
        else if (s.s_RectDraw == "Fill")
            c->fillRect(s.xx, s.yy, s.xx1, s.yy1, CurrentColor(s));
    }
    s.s_RectDraw = "Frame";
}

void QuartzDrawText(Kestrova& k, int /*window*/)
{
    const DrawState& s = k.ds;
    if (s.QuartzText.empty()) return;  // nothing to show, nothing listed
    if (!std::isfinite(s.xx) || !std::isfinite(s.yy)) return;
    if (Canvas* c = k.target()) c->text(s.xx, s.yy, s.QzFontNum, s.fontSize, CurrentColor(s), s.QuartzText.view());
}

void DrawCGImageFromBandleResource(Kestrova& k, int /*window*/, Rect16 rect, std::string_view name,
                                   std::string_view subdir)
{
    if (Canvas* c = k.target()) c->image(subdir, name, rect.top, rect.left, rect.bottom, rect.right);
}

void SetColor(Kestrova& k, float r, float g, float b)
{
    k.ds.RedCol = r;
    k.ds.GrnCol = g;
    k.ds.BleCol = b;
}

void SetGrey(Kestrova& k, float level) { SetColor(k, level, level, level); }

void SetFont(Kestrova& k, int font, float size)
{
    k.ds.QzFontNum = static_cast<std::int16_t>(font);
    k.ds.fontSize = size;
}

void DrawLineAt(Kestrova& k, float x, float y, float x1, float y1)
{
    k.ds.xx = x;
    k.ds.yy = y;
    k.ds.xx1 = x1;
    k.ds.yy1 = y1;
    QuartzDrawLine(k, 1);
}

void DrawRectAt(Kestrova& k, float x, float y, float x1, float y1, std::string_view mode)
{
    k.ds.xx = x;
    k.ds.yy = y;
    k.ds.xx1 = x1;
    k.ds.yy1 = y1;
    k.ds.s_RectDraw = mode;
    QuartzDrawRect(k, 1);
}

void DrawTextAt(Kestrova& k, float x, float y, std::string_view text)
{
    k.ds.xx = x;
    k.ds.yy = y;
    k.ds.QuartzText = text;
    QuartzDrawText(k, 1);
}

}  // namespace ks
