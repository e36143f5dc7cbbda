// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/recording_canvas.h"

#include <cstdio>

#include "support/macroman.h"

namespace ks {

namespace {

void AppendNumber(std::string& out, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, " %.4f", v);
    out += buf;
}

void AppendColor(std::string& out, Rgb c)
{
    AppendNumber(out, c.r);
    AppendNumber(out, c.g);
    AppendNumber(out, c.b);
}

}  // namespace

void RecordingCanvas::erase(float left, float top, float right, float bottom)
{
    std::string s = "erase";
    AppendNumber(s, left);
    AppendNumber(s, top);
    AppendNumber(s, right);
    AppendNumber(s, bottom);
    lines_.push_back(std::move(s));
}

void RecordingCanvas::line(float x, float y, float x1, float y1, Rgb c, float width, int dash)
{
    std::string s = "line";
    AppendNumber(s, x);
    AppendNumber(s, y);
    AppendNumber(s, x1);
    AppendNumber(s, y1);
    AppendColor(s, c);
    AppendNumber(s, width);
    AppendNumber(s, dash);
    lines_.push_back(std::move(s));
}

void RecordingCanvas::frameRect(float x, float y, float x1, float y1, Rgb c, float width)
{
    std::string s = "rect frame";
    AppendNumber(s, x);
    AppendNumber(s, y);
    AppendNumber(s, x1);
    AppendNumber(s, y1);
    AppendColor(s, c);
    AppendNumber(s, width);
    lines_.push_back(std::move(s));
}

void RecordingCanvas::fillRect(float x, float y, float x1, float y1, Rgb c)
{
    std::string s = "rect fill";
    AppendNumber(s, x);
    AppendNumber(s, y);
    AppendNumber(s, x1);
    AppendNumber(s, y1);
    AppendColor(s, c);
    lines_.push_back(std::move(s));
}

void RecordingCanvas::text(float x, float y, int font, float size, Rgb c, std::string_view text)
{
    std::string s = "text";
    AppendNumber(s, x);
    AppendNumber(s, y);
    AppendNumber(s, font);
    AppendNumber(s, size);
    AppendColor(s, c);
    s += ' ';
    // A line break inside the text would split the record: list it as a blank.
    for (char ch : MacRomanToUtf8(text)) s += (ch == '\n' || ch == '\r') ? ' ' : ch;
    lines_.push_back(std::move(s));
}

void RecordingCanvas::image(std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left,
                            std::int16_t bottom, std::int16_t right)
{
    std::string s = "image ";
    s += folder;
    s += '/';
    s += name;
    AppendNumber(s, top);
    AppendNumber(s, left);
    AppendNumber(s, bottom);
    AppendNumber(s, right);
    lines_.push_back(std::move(s));
}

std::string RecordingCanvas::str() const
{
    std::string out;
    for (const std::string& l : lines_) {
        out += l;
        out += '\n';
    }
    return out;
}

}  // namespace ks
