#include "KeyAscii.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QWidget* control, std::function<void(int)> handler)
        : QObject(control), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            if (const int code = keyAscii(*static_cast<QKeyEvent*>(event)))
                m_handler(code);
        }
        return false;
    }

private:
    std::function<void(int)> m_handler;
};

} // namespace

int keyAscii(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyEnter;
    case Qt::Key_Escape:
        return kKeyEsc;
    default:
        return event.text().isEmpty() ? 0 : event.text().front().unicode();
    }
}

void onKeyPress(QWidget* control, std::function<void(int keyAscii)> handler) {
    control->installEventFilter(new KeyPressFilter(control, std::move(handler)));
}
