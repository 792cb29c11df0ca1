#pragma once

#include "Toolkit.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The progress window of the real toolkit: a modal dialog that is shown, never executed, so the work it follows
// goes on in the program's one event loop. Its bar is named "Avanzamento" and moves in tenths, so a screen
// reader that follows it is told at most every 10%.
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    ProgressWindow(const QString& label, const QString& title, std::function<void()> cancel);

    void setProgress(qint64 done, qint64 total);
    void setLabel(const QString& label);

    // "Annulla", Esc and the close box.
    void reject() override;

private:
    QLabel* m_label;
    QProgressBar* m_bar;
    std::function<void()> m_cancel;
};

// Owns a ProgressWindow for the toolkit's callers.
class ProgressWindowHandle : public Toolkit::Progress {
public:
    // A measured window starts at 0%, an unmeasured one only shows that work goes on.
    ProgressWindowHandle(const QString& label, const QString& title, std::function<void()> cancel, bool measured);
    ~ProgressWindowHandle() override;
    void update(qint64 done, qint64 total) override;
    void describe(const QString& label) override;

private:
    ProgressWindow* m_window;
};
