#pragma once

#include "core/document/state.h"

#include <string>
#include <vector>

namespace Tessar {

// The document the benchmarks work on: a plate with data in every well, ten
// rows per sample, every text 40 characters long.
struct PlateDocument
{
    State state;
    // The same document as plain lines of a sample file, CRLF left off, for
    // the reference code that works on std::string only.
    std::vector<std::string> headerLines;
    std::vector<std::vector<std::string>> samples;   // per sample from 1 on, numField texts
};

// `wells` is one of the plate formats (24, 48, 96, 384, 1536).
PlateDocument makePlateDocument(int wells = 1536);

} // namespace Tessar
