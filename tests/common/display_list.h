// Reading the recorded display list back into fields, so tests can pick the
// primitives they pin (grid lines by colour, the curve by its width ...).
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/drivers.h"
#include "context/kestrova.h"
#include "graphs/recording_canvas.h"

namespace ks::test {

struct Prim {
    std::string kind;       // erase, line, frame, fill, text, image
    std::vector<double> v;  // the numbers in list order
    std::string text;       // text: the text; image: FOLDER/NAME
};

inline Prim ParseLine(const std::string& line)
{
    Prim p;
    std::istringstream in(line);
    in >> p.kind;
    if (p.kind == "rect") in >> p.kind;  // frame / fill
    int count = p.kind == "erase"   ? 4
                : p.kind == "line"  ? 9
                : p.kind == "frame" ? 8
                : p.kind == "fill"  ? 7
                : p.kind == "text"  ? 7
                                    : 0;
    if (p.kind == "image") {
        in >> p.text;
        count = 4;
    }
    for (int i = 0; i < count; ++i) {
        double d = 0;
        in >> d;
        p.v.push_back(d);
    }
    if (p.kind == "text") {
        in.get();  // the one blank before the text
        std::getline(in, p.text);
    }
    return p;
}

inline std::vector<Prim> Parse(const RecordingCanvas& rc)
{
    std::vector<Prim> out;
    for (const std::string& l : rc.lines()) out.push_back(ParseLine(l));
    return out;
}

// Runs fn with both surfaces recording, returns what was drawn.
inline std::vector<Prim> Record(Kestrova& k, const std::function<void()>& fn)
{
    RecordingCanvas rc;
    Canvas* s = k.screen;
    Canvas* p = k.page;
    k.screen = &rc;
    k.page = &rc;
    fn();
    k.screen = s;
    k.page = p;
    return Parse(rc);
}

inline const Prim* FindText(const std::vector<Prim>& all, const std::string& text)
{
    for (const Prim& p : all)
        if (p.kind == "text" && p.text == text) return &p;
    return nullptr;
}

}  // namespace ks::test
