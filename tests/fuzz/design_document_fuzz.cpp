// SPDX-License-Identifier: GPL-3.0-or-later
// Any text read as a design document: no crash, and what is taken writes again and reads back as the same text.
#include "document/design_document.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    const ks::DocumentRead read = ks::ReadDesignDocument(in.text());
    KT_REQUIRE(read.doc.has_value() == read.error.empty());
    if (!read.doc) return 0;
    KT_REQUIRE(ks::CheckDesignDocument(*read.doc).empty());
    const std::string text = ks::WriteDesignDocument(*read.doc);
    const ks::DocumentRead again = ks::ReadDesignDocument(text);
    KT_REQUIRE(again.doc && ks::WriteDesignDocument(*again.doc) == text);
    return 0;
}
