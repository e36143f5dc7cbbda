// SPDX-License-Identifier: GPL-3.0-or-later
// The design document: a design (driver, box, view) and the designs kept
// for comparison, as a small UTF-8 JSON text. Every field is checked against
// its range on the way in and on the way out, so whatever is written reads
// back, and whatever is read can be applied (docs/design-files.md).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/design.h"
#include "support/pstring.h"

namespace ks {

inline constexpr std::string_view kDesignFormat = "kestrova-design";
inline constexpr int kDesignVersion = 1;
inline constexpr std::size_t kMaxDesignBytes = std::size_t{1} << 20;
// Driver numbers, in the design parameter set's units, lie in 0 .. this.
inline constexpr double kMaxDriverValue = 1e6;

// The thirteen numbers of a driver, in the order of the driver record.
inline constexpr std::array<std::string_view, 13> kDriverKeys = {"dia", "fs",    "vas", "qts",  "qes", "qms", "effi",
                                                                 "re",  "pemax", "sd",  "xmax", "vd",  "le"};

struct DriverPart {
    PStr model, range;             // Mac Roman
    std::array<f32, 13> values{};  // dia .. le
};

struct BoxPart {
    i16 system = 1;     // boxSys: 1 closed box, 2 infinite baffle, 3 rear-closed unit
    f32 qa = 10.0f;     // one of the Qa pop-up's five
    i16 alignment = 1;  // alin: 1 optimum, 2 box volume, 3 Qtc
    f32 entry = 0.0f;   // the box volume (2) or the Qtc (3) typed into the box entry
};

struct ViewPart {
    PStr response = "amp";  // s_Resp
    i16 level = 1;          // magni: 1 relative, 2 absolute
    i16 scale = 5;          // 5 or 10 dB per division
};

struct KeptPart {
    std::string name;  // UTF-8
    int colour = 1;
    DriverPart driver;
    BoxPart box;
};

struct DesignDocument {
    DriverPart driver;
    BoxPart box;
    ViewPart view;
    std::vector<KeptPart> kept;  // oldest first
};

struct DocumentRead {
    std::optional<DesignDocument> doc;
    std::string error;  // why not, when doc is empty: one clause, UTF-8
};

// Reads a document; refused: more than kMaxDesignBytes, not JSON, another
// format or a newer version, a field missing, of the wrong kind or out of
// range, a box the driver cannot have.
DocumentRead ReadDesignDocument(std::string_view bytes);
// Empty when the document can be written (and so read back), else why not.
std::string CheckDesignDocument(const DesignDocument& doc);
// The JSON text, two-space indented, keys in a fixed order, numbers with a
// point and the fewest digits that read back as the same single-precision
// value. The document must have passed CheckDesignDocument.
std::string WriteDesignDocument(const DesignDocument& doc);

}  // namespace ks
