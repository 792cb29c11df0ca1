#include "FocusFrame.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOption>
#include <utility>

namespace {

// The frame goes over its control, not under it, and its ring reaches inside the control's edge too.
class AboveControl : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        if (hint == SH_FocusFrame_Mask && option) {
            if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(returned)) {
                const int ring = pixelMetric(PM_FocusFrameHMargin, option, widget) + FocusFrame::kWidth;
                mask->region = QRegion(option->rect) - QRegion(option->rect.adjusted(ring, ring, -ring, -ring));
            }
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

FocusFrame::FocusFrame(QWidget* parent) : QFocusFrame(parent) {
    static AboveControl* style = new AboveControl; // follows the application's style
    setStyle(style);
}

int FocusFrame::outsideMargin() const {
    QStyleOption option;
    initStyleOption(&option);
    return style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, this);
}

void FocusFrame::paintEvent(QPaintEvent*) {
    const int ring = outsideMargin() + kWidth;
    QPainter painter(this);
    painter.setClipRegion(QRegion(rect()) - QRegion(rect().adjusted(ring, ring, -ring, -ring)));
    painter.fillRect(rect(), QApplication::palette().color(QPalette::Active, QPalette::Highlight));
}

void followFocusWithFrame() {
    static QPointer<FocusFrame> frame; // lives in the window of the focused control, and dies with it
    static bool following = false;
    if (std::exchange(following, true))
        return;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
        const bool framed = now && !now->isWindow() && now->parentWidget()->windowType() != Qt::SubWindow;
        if (!framed) {
            if (frame)
                frame->setWidget(nullptr);
            return;
        }
        if (!frame)
            frame = new FocusFrame(now);
        frame->setWidget(now);
    });
}
