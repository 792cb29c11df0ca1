#pragma once

#include <QPointer>
#include <QWidget>

// The life of one screen of type F, as the screens expect it of each other:
// - load() creates the screen and runs its load step without showing it (a public routine of a screen that is
//   not loaded loads it first);
// - show() loads it when needed, then shows it or only brings it forward;
// - closing the window runs its unload step (closeEvent) and destroys it, so the next load starts afresh.
// A screen loaded but never shown is a hidden window and does not keep the program running.
template <typename F> class Screen {
public:
    static bool isLoaded() { return !s_form.isNull(); }

    // The screen if loaded, or nullptr; never loads it.
    static F* ifLoaded() { return s_form.data(); }

    static F& load() {
        if (s_form.isNull()) {
            F* form = new F;
            form->setAttribute(Qt::WA_DeleteOnClose);
            s_form = form;
            form->Form_Load();
        }
        return *s_form;
    }

    static F& show() {
        F& form = load();
        if (form.isVisible())
            form.raise();
        form.show();
        form.activateWindow();
        return form;
    }

private:
    static inline QPointer<F> s_form;
};
