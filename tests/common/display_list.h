// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded display list read back into fields, so tests can pick the primitives they pin.
#pragma once

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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
    if (p.kind == "image") in >> p.text;
    const std::map<std::string, int> counts = {{"erase", 4}, {"line", 9}, {"frame", 8},
                                               {"fill", 7},  {"text", 7}, {"image", 4}};
    const auto count = counts.find(p.kind);
    for (int i = 0; count != counts.end() && i < count->second; ++i) in >> p.v.emplace_back();
    if (p.kind == "text") {
        in.get();  // the one blank before the text
        std::getline(in, p.text);
    }
    return p;
}

// Runs fn with both surfaces recording, returns what was drawn.
inline std::vector<Prim> Record(Kestrova& k, const std::function<void()>& fn)
{
    RecordingCanvas rc;
    Canvas* const screen = std::exchange(k.screen, &rc);
    Canvas* const page = std::exchange(k.page, &rc);
    fn();
    k.screen = screen, k.page = page;
    std::vector<Prim> out;
    for (const std::string& l : rc.lines()) out.push_back(ParseLine(l));
    return out;
}

inline const Prim* FindText(const std::vector<Prim>& all, const std::string& text)
{
    for (const Prim& p : all)
        if (p.kind == "text" && p.text == text) return &p;
    return nullptr;
}

}  // namespace ks::test
