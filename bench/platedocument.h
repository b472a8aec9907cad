#pragma once

#include "core/state.h"

#include <string>
#include <vector>

namespace Tessar {

// The document the benchmarks read and write: a full 1536-well plate, ten
// rows per sample, every text 40 characters long.
struct PlateDocument
{
    State state;
    // The same document as plain lines of a sample file, CRLF left off, for
    // the reference code that works on std::string only.
    std::vector<std::string> headerLines;
    std::vector<std::vector<std::string>> samples;   // per sample 1..1536, numField texts
};

PlateDocument makePlateDocument();

} // namespace Tessar
