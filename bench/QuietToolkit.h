#pragma once

#include "platform/Toolkit.h"

#include <QElapsedTimer>
#include <functional>

// The toolkit of a benchmark: no window ever opens. Progress windows and waits are counted, and the last one's
// "Annulla" can be pressed as a user would; a box or dialog of any other kind stops the run.
class QuietToolkit : public Toolkit {
    class Quiet : public Progress {
    public:
        void update(qint64, qint64) override {}
    };

public:
    void message(QObject*, const QString& text, const QString& title, Icon icon, std::function<void()> then) override {
        message(text, title, icon);
        if (then)
            then();
    }
    void askYesNoCancel(QObject*, const QString& text, const QString&, std::function<void(Answer)>) override {
        qFatal("box: %s", qPrintable(text));
    }
    void askText(QObject*, const QString& text, const QString&, std::function<void(const QString&)>) override {
        qFatal("box: %s", qPrintable(text));
    }
    void confirm(QObject*, const QString& text, const QString&, std::function<void(bool)>) override {
        qFatal("box: %s", qPrintable(text));
    }
    void askNumber(QObject*, const QString& text, const QString&, int, int, int,
                   std::function<void(std::optional<int>)>) override {
        qFatal("box: %s", qPrintable(text));
    }
    void chooseFileToOpen(QObject*, const QString&, const FileFilter&, const QString&,
                          std::function<void(std::optional<QString>)>) override {
        qFatal("file dialog");
    }
    void chooseFolder(QObject*, const QString&, const QString&, std::function<void(std::optional<QString>)>) override {
        qFatal("folder dialog");
    }
    void message(const QString& text, const QString&, Icon) {
        lastMessage = text;
        messageClock.restart();
    }
    bool launch(const QString&, const QStringList&) override { return false; }
    bool openWithDesktop(const QString&) override { return false; }
    std::unique_ptr<Progress> showProgress(const QString&, const QString&, std::function<void()> cancel) override {
        ++windows;
        m_cancel = std::move(cancel);
        return std::make_unique<Quiet>();
    }
    std::unique_ptr<Progress> showWait(const QString&, const QString&, std::function<void()> cancel) override {
        ++windows;
        m_cancel = std::move(cancel);
        return std::make_unique<Quiet>();
    }

    // "Annulla" in the last window shown, from the event loop as the real window does it.
    void pressAnnulla() {
        if (m_cancel)
            m_cancel();
    }

    int windows = 0;
    QString lastMessage;
    QElapsedTimer messageClock;

private:
    std::function<void()> m_cancel;
};
