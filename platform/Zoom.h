#pragma once

// The zoom of every screen, in percent of the designed size: 100 to 300 in steps of 25.
namespace Zoom {

inline constexpr int kNormal = 100;
inline constexpr int kLargest = 300;
inline constexpr int kStep = 25;

int larger(int percent);
int smaller(int percent);
// A stored value, or the normal size when it is not one of the steps.
int valid(int percent);

// Where one axis of a zoomed window's controls go. The window and its controls grow by the zoom factor; when the
// window would not fit the space on the screen, its elastic band (a span of the axis, in unzoomed pixels, where
// a control can give up room: a text area, or the whole window) shrinks, down to a least scale, and whatever
// lies past the band moves back by as much.
class AxisMap {
public:
    AxisMap(int extent, double factor, int available, int bandFrom, int bandTo, double leastBandScale);

    int map(int position) const;
    int extent() const { return map(m_extent); }

private:
    int m_extent;
    double m_factor;
    int m_bandFrom;
    int m_bandTo;
    double m_shrink = 0; // zoomed pixels the band gives up
};

} // namespace Zoom
