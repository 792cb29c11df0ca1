#pragma once

#include <QRect>

class QWidget;

// Zooms one window: its text, its controls' places and sizes, and its own size grow together from the sizes they
// were made with, and the window stays within the screen's free space. A window arranged by a layout has only
// its text zoomed; the layout does the rest.
namespace WindowZoom {

// The span of the window, in unzoomed pixels, that gives up room first when the zoomed window does not fit the
// screen (a text area); without one, the whole window shrinks evenly, but never below 60% of the zoomed size.
void setElasticBand(QWidget* window, const QRect& band);

void apply(QWidget* window, int percent);

// The zoom a window was last given, in percent; 100 for one never zoomed.
int appliedPercent(const QWidget* window);

} // namespace WindowZoom
