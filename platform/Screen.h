#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

// Marks a screen as closed once its close event has been accepted.
inline constexpr const char* kClosed = "giornali_chiuso";
// Marks a screen that waits for what it will show (a wizard step's page): it shows itself once that has come.
inline constexpr const char* kWaiting = "giornali_in_attesa";

class CloseWatcher : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close)
            watched->setProperty(kClosed, true); // no screen refuses its close
        return false;
    }
};

// One watcher for every screen, owned by the application so that it goes with it.
inline QObject* closeWatcher() {
    static QPointer<CloseWatcher> watcher;
    if (!watcher) {
        watcher = new CloseWatcher;
        watcher->setParent(QCoreApplication::instance());
    }
    return watcher;
}

// The life of one screen of type F, as the screens expect it of each other:
// - load() creates the screen and runs its load step without showing it (a public routine of a screen that is
//   not loaded loads it first);
// - show() loads it when needed, then shows it or only brings it forward;
// - closing the window runs its unload step (closeEvent) and destroys it, so the next load starts afresh.
// A screen loaded but never shown is a hidden window and does not keep the program running.
// A screen that closes itself while it loads (a wizard step with nothing to offer) is never shown, and one that
// is still waiting for its content is shown by itself when that arrives.
template <typename F> class Screen {
public:
    // False too for a screen that has been closed and waits to be destroyed.
    static bool isLoaded() { return !s_form.isNull() && !s_form->property(kClosed).toBool(); }

    // The screen if loaded, or nullptr; never loads it.
    static F* ifLoaded() { return isLoaded() ? s_form.data() : nullptr; }

    static F& load() {
        if (!isLoaded()) {
            F* form = new F;
            form->setAttribute(Qt::WA_DeleteOnClose);
            form->installEventFilter(closeWatcher());
            s_form = form;
            form->Form_Load();
        }
        return *s_form;
    }

    static F& show() {
        F& form = load();
        if (form.property(kClosed).toBool() || form.property(kWaiting).toBool())
            return form;
        if (form.isVisible())
            form.raise();
        form.show();
        form.activateWindow();
        return form;
    }

private:
    static inline QPointer<F> s_form;
};
