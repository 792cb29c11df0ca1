#pragma once

#include <QProxyStyle>

// The desktop's style, with one addition for the high-contrast palette: the styles draw the edges of fields,
// lists, frames and buttons in a shade of the window's colour, which on black is black too. While high contrast
// is on, every such edge is also drawn in the text colour.
class ContrastStyle : public QProxyStyle {
    Q_OBJECT

public:
    // Wraps the application's current style; the application owns the result.
    static void install();
    static void setEdgesDrawn(bool drawn);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;

private:
    using QProxyStyle::QProxyStyle;
};
