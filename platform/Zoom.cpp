#include "Zoom.h"

#include <algorithm>
#include <cmath>

namespace Zoom {

int larger(int percent) {
    return std::min(kLargest, valid(percent) + kStep);
}

int smaller(int percent) {
    return std::max(kNormal, valid(percent) - kStep);
}

int valid(int percent) {
    return percent >= kNormal && percent <= kLargest && percent % kStep == 0 ? percent : kNormal;
}

AxisMap::AxisMap(int extent, double factor, int available, int bandFrom, int bandTo, double leastBandScale)
    : m_extent(extent), m_factor(factor), m_bandFrom(std::clamp(bandFrom, 0, extent)),
      m_bandTo(std::clamp(bandTo, m_bandFrom, extent)) {
    const double excess = extent * factor - available;
    if (available <= 0 || excess <= 0)
        return;
    const double band = (m_bandTo - m_bandFrom) * factor;
    const double leastBand = (m_bandTo - m_bandFrom) * std::min(leastBandScale, factor);
    m_shrink = std::clamp(band - leastBand, 0.0, excess);
}

int AxisMap::map(int position) const {
    double zoomed = position * m_factor;
    if (position >= m_bandTo) {
        zoomed -= m_shrink;
    } else if (position > m_bandFrom) {
        const double band = (m_bandTo - m_bandFrom) * m_factor;
        zoomed -= m_shrink * (position - m_bandFrom) * m_factor / band;
    }
    return static_cast<int>(std::lround(zoomed));
}

} // namespace Zoom
