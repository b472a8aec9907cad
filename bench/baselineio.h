#pragma once

#include <string>
#include <vector>

namespace Tessar {

struct PlateDocument;

// The plainest C++ that does a sample file's I/O with the same safety as the
// program, as the yardstick for the benchmarks.

// The whole file split into its CRLF-ended lines; empty when unreadable.
std::vector<std::string> readLinesPlain(const std::string &path);

// A CSV file split into its lines and each line into its comma-separated
// cells: the plainest reading of a table that holds no quoted cells.
std::vector<std::vector<std::string>> readTablePlain(const std::string &path);

// Writes the document's lines to a temporary file beside `path`, forces it to
// disk and renames it over `path`. False when any step fails.
bool writeLinesPlain(const std::string &path, const PlateDocument &doc);

} // namespace Tessar
