#pragma once

class QPainter;

namespace Tessar {

class PictureLayout;
struct State;

// Paints a plate picture where the layout puts each part: the title, the
// plate with its edge labels, every well as the map paints it (its ring,
// its disc in its key's colour, the key's number where the disc is large
// enough), and the legend. The screen's own marks, the selected well's red
// ring and the band of wells the sample frames show, are no part of the
// document and stay out. System colours take the classic desktop's values,
// so a picture looks the same whoever makes it. `pixelsPerDip` is the
// painter's pixels per 1/96 inch.
void paintPlatePicture(QPainter &painter, const State &state, const PictureLayout &layout, double pixelsPerDip);

} // namespace Tessar
