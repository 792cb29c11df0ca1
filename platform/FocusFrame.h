#pragma once

#include <QFocusFrame>

// A frame at least 3 pixels wide around the focused control, in the palette's highlight colour, drawn over the
// control's edge so that it shows even where the control touches the window's border. Screen readers do not see
// it.
class FocusFrame : public QFocusFrame {
    Q_OBJECT

public:
    static constexpr int kWidth = 3;

    explicit FocusFrame(QWidget* parent);

    // The rest of the frame's ring, outside the control; the part drawn over it is kWidth wide.
    int outsideMargin() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Keeps one focus frame on whatever control has the focus, in every window of the program.
void followFocusWithFrame();
