#pragma once

namespace Tessar {

struct State;

// The document half of starting a fresh, untitled document for the current
// plate format: default colours, no file, an empty table laid out for
// wellCount, the key row captioned "Key" and the list scrolled to sample 1.
// The window half (labels, menus) is the main window's.
void newDocument(State &state);

// File > New: empties the samples but keeps the plate, the configuration
// and the colours.
void clearSamples(State &state);

// The configuration a first run starts with, before any setting is read:
// five rows per sample, company "HALV", 96 wells, colours on.
void applyFirstRunDefaults(State &state);

} // namespace Tessar
