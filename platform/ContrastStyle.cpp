#include "ContrastStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

bool g_edgesDrawn = false;

void drawEdge(const QStyleOption* option, QPainter* painter) {
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::WindowText), 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

} // namespace

void ContrastStyle::install() {
    if (qobject_cast<ContrastStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new ContrastStyle(QStyleFactory::create(QApplication::style()->name())));
}

void ContrastStyle::setEdgesDrawn(bool drawn) {
    g_edgesDrawn = drawn;
}

void ContrastStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (g_edgesDrawn && (element == PE_FrameLineEdit || element == PE_Frame || element == PE_FrameGroupBox ||
                         element == PE_PanelButtonCommand))
        drawEdge(option, painter);
}

void ContrastStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                       const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (g_edgesDrawn && control == CC_ComboBox)
        drawEdge(option, painter);
}
