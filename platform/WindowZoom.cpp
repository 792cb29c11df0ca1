#include "WindowZoom.h"

#include "Zoom.h"

#include <QFocusFrame>
#include <QFont>
#include <QGridLayout>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kBaseGeometry = "giornali_zoom_geometria";
constexpr const char* kBaseFont = "giornali_zoom_carattere";
constexpr const char* kBaseSize = "giornali_zoom_dimensione";
constexpr const char* kFixedSize = "giornali_zoom_fissa";
constexpr const char* kBand = "giornali_zoom_fascia";
constexpr const char* kApplied = "giornali_zoom";
constexpr double kLeastDeclaredBand = 0.5; // of the unzoomed band: a text area still shows a few lines
constexpr double kLeastWholeWindow = 0.6;  // of the zoomed window: controls still hold their zoomed text

QFont scaled(QFont font, double factor) {
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * factor)));
    return font;
}

void rememberFont(QWidget* widget) {
    if (!widget->property(kBaseFont).isValid() && (widget->isWindow() || widget->testAttribute(Qt::WA_SetFont)))
        widget->setProperty(kBaseFont, widget->font());
}

// The screens place their controls themselves, some inside plain frames; any other widget arranges its own parts.
bool placesItsChildren(const QWidget* widget) {
    const char* kind = widget->metaObject()->className();
    return !widget->layout() &&
           (!qstrcmp(kind, "QWidget") || !qstrcmp(kind, "QGroupBox") || !qstrcmp(kind, "QFrame") || widget->isWindow());
}

// Every control below the parent, going down into those that descend() accepts.
template <typename Descend, typename Visit>
void forEachControl(QWidget* parent, const Descend& descend, const Visit& visit) {
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow() || qobject_cast<QFocusFrame*>(child))
            continue;
        visit(child);
        if (descend(child))
            forEachControl(child, descend, visit);
    }
}

void keepOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen || !window->isVisible())
        return;
    const QRect free = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    const int x = std::max(free.left(), std::min(frame.left(), free.right() + 1 - frame.width()));
    const int y = std::max(free.top(), std::min(frame.top(), free.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top())
        window->move(x, y);
}

class Widener : public QSpacerItem {
public:
    Widener() : QSpacerItem(0, 0) {}
};

// A message box wraps its text at a width made for unzoomed text: zoomed, it is widened as much, within the screen,
// so that its text does not run past the screen's bottom.
void widenMessageBox(QMessageBox* box, double factor) {
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    const QScreen* screen = box->screen();
    if (!grid || !screen)
        return;
    constexpr int kUnzoomedWidth = 500;
    const int width = std::min(static_cast<int>(kUnzoomedWidth * factor), screen->availableGeometry().width() * 9 / 10);
    // The box rebuilds its layout when its texts change: the widener is looked for, never kept.
    Widener* spacer = nullptr;
    for (int i = 0; i < grid->count() && !spacer; ++i)
        spacer = dynamic_cast<Widener*>(grid->itemAt(i));
    if (!spacer) {
        spacer = new Widener;
        grid->addItem(spacer, grid->rowCount(), 0, 1, grid->columnCount());
    }
    spacer->changeSize(factor > 1 ? width : 0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
    grid->invalidate();
}

// A laid-out window never grows past the screen.
void fitLaidOut(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen || !window->isVisible())
        return;
    const QSize room = screen->availableGeometry().size() - (window->frameGeometry().size() - window->size());
    const QSize size = window->size().boundedTo(room);
    if (size != window->size()) {
        if (window->minimumSize() == window->maximumSize())
            window->setFixedSize(size);
        else
            window->resize(size);
    }
    keepOnScreen(window);
}

} // namespace

namespace WindowZoom {

void setElasticBand(QWidget* window, const QRect& band) {
    window->setProperty(kBand, band);
}

int appliedPercent(const QWidget* window) {
    const QVariant applied = window->property(kApplied);
    return applied.isValid() ? applied.toInt() : Zoom::kNormal;
}

void apply(QWidget* window, int percent) {
    const double factor = percent / 100.0;
    rememberFont(window);
    window->setFont(scaled(window->property(kBaseFont).value<QFont>(), factor));
    forEachControl(
        window, [](QWidget*) { return true; },
        [factor](QWidget* child) {
            rememberFont(child);
            if (child->property(kBaseFont).isValid())
                child->setFont(scaled(child->property(kBaseFont).value<QFont>(), factor));
        });
    window->setProperty(kApplied, percent);

    if (window->layout()) {
        if (auto* box = qobject_cast<QMessageBox*>(window))
            widenMessageBox(box, factor);
        if (window->isVisible() && window->minimumSize() != window->maximumSize())
            window->adjustSize();
        // A box sizes itself as it appears, after this: it is fitted once that is done.
        QTimer::singleShot(0, window, [window] { fitLaidOut(window); });
        return;
    }
    if (!window->property(kBaseSize).isValid()) {
        window->setProperty(kBaseSize, window->size());
        window->setProperty(kFixedSize, window->minimumSize() == window->maximumSize());
    }
    const QSize base = window->property(kBaseSize).toSize();
    // At the designed size the window is as it was made, even on a screen too small for it.
    const QScreen* screen = window->screen();
    const QMargins margins = window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    const QSize frame(margins.left() + margins.right(), margins.top() + margins.bottom()); // the title bar too
    const QSize free = screen && percent > Zoom::kNormal ? screen->availableGeometry().size() - frame : QSize();
    const QVariant declared = window->property(kBand);
    const QRect band = declared.isValid() ? declared.toRect() : QRect(QPoint(0, 0), base);
    const double least = declared.isValid() ? kLeastDeclaredBand : kLeastWholeWindow * factor;
    const Zoom::AxisMap across(base.width(), factor, free.width(), band.left(), band.left() + band.width(), least);
    const Zoom::AxisMap down(base.height(), factor, free.height(), band.top(), band.top() + band.height(), least);

    forEachControl(window, placesItsChildren, [&](QWidget* child) {
        if (!child->property(kBaseGeometry).isValid())
            child->setProperty(kBaseGeometry, child->geometry());
        // Nested controls are placed in their frame's coordinates: map through the window's.
        QPoint offset;
        for (QWidget* up = child->parentWidget(); up != window; up = up->parentWidget())
            offset += up->property(kBaseGeometry).toRect().topLeft();
        const QRect r = child->property(kBaseGeometry).toRect().translated(offset);
        const QPoint zoomedOffset(across.map(offset.x()), down.map(offset.y()));
        const QRect zoomed(QPoint(across.map(r.left()), down.map(r.top())),
                           QPoint(across.map(r.left() + r.width()) - 1, down.map(r.top() + r.height()) - 1));
        child->setGeometry(zoomed.translated(-zoomedOffset));
    });
    const QSize size(across.extent(), down.extent());
    if (window->property(kFixedSize).toBool())
        window->setFixedSize(size);
    else
        window->resize(size);
    QTimer::singleShot(0, window, [window] { keepOnScreen(window); }); // once it is placed, when appearing
}

} // namespace WindowZoom
