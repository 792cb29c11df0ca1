#pragma once

#include "platform/Toolkit.h"

#include <QList>
#include <deque>
#include <functional>
#include <memory>

// A toolkit for tests: every box and launch is answered from a queue the test fills beforehand and recorded in
// shown(). A box nobody scripted fails the running test at once and gets a harmless answer, so nothing blocks.
class ScriptedToolkit : public Toolkit {
public:
    enum class Kind { Message, YesNoCancel, Text, File, Launch, Desktop, Progress, Confirm, Number };

    struct Shown {
        Kind kind;
        QString text; // message, question or prompt; for a launch the program, for the desktop the path
        QString title;
        Icon icon = Icon::Information;
        QStringList arguments; // launches only
        QString detail;        // file dialogs: initial folder, then the filter
    };

    void expectMessage();
    // whileShown runs while the box is up, as if the user did something else first.
    void answerYesNoCancel(Answer answer, std::function<void()> whileShown = {});
    void answerText(const QString& text, std::function<void()> whileShown = {});
    void answerConfirm(bool yes);
    void answerNumber(std::optional<int> number);
    void answerFile(const std::optional<QString>& path);
    void answerLaunch(bool started);
    void answerDesktop(bool started);
    // A progress window, which the user cancels once this many bytes are done (never, with -1). Its last
    // update is kept in progressDone / progressTotal.
    void answerProgress(qint64 cancelAfter = -1);
    qint64 progressDone = -1;
    QString progressLabel; // the last describe()
    qint64 progressTotal = -1;

    // Waits of unknown length come when the machine is slow, so they need no script: they are counted, and the
    // test can press "Annulla" in the one open, or in the progress window open, as the user would.
    int waitsShown = 0;
    bool waitOpen() const { return m_cancelWait && *m_cancelWait; }
    bool progressOpen() const { return m_cancelProgress && *m_cancelProgress; }
    void cancelWait();
    void cancelProgress();

    const QList<Shown>& shown() const { return m_shown; }
    int pending() const { return static_cast<int>(m_script.size()); }

    // Boxes are answered at once, before the call returns, and only while their context lives.
    void message(QObject* context, const QString& text, const QString& title, Icon icon,
                 std::function<void()> then) override;
    void askYesNoCancel(QObject* context, const QString& text, const QString& title,
                        std::function<void(Answer)> then) override;
    void askText(QObject* context, const QString& prompt, const QString& title,
                 std::function<void(const QString&)> then) override;
    void confirm(QObject* context, const QString& question, const QString& title,
                 std::function<void(bool)> then) override;
    void askNumber(QObject* context, const QString& prompt, const QString& title, int suggestion, int minimum,
                   int maximum, std::function<void(std::optional<int>)> then) override;
    void chooseFolder(QObject* context, const QString& initialFolder, const QString& title,
                      std::function<void(std::optional<QString>)> then) override;
    void chooseFileToOpen(QObject* context, const QString& initialFolder, const FileFilter& filter,
                          const QString& title, std::function<void(std::optional<QString>)> then) override;

    bool launch(const QString& program, const QStringList& arguments) override;
    bool openWithDesktop(const QString& path) override;
    std::unique_ptr<Progress> showProgress(const QString& label, const QString& title,
                                           std::function<void()> cancel) override;
    std::unique_ptr<Progress> showWait(const QString& label, const QString& title,
                                       std::function<void()> cancel) override;

protected:
    // Each box's step, taken from the script at once; derived toolkits may record a box without answering it.
    void message(const QString& text, const QString& title, Icon icon);
    Answer askYesNoCancel(const QString& text, const QString& title);
    QString askText(const QString& prompt, const QString& title);
    bool confirm(const QString& question, const QString& title);
    std::optional<int> askNumber(const QString& prompt, const QString& title, int suggestion, int minimum, int maximum);
    std::optional<QString> chooseFileToOpen(const QString& initialFolder, const FileFilter& filter,
                                            const QString& title);

private:
    struct Step {
        explicit Step(Kind k) : kind(k) {}
        Kind kind;
        Answer answer = Answer::Cancel;
        std::optional<QString> text;
        bool started = false;
        std::function<void()> whileShown;
        qint64 cancelAfter = -1;
        std::optional<int> number;
    };

    Step& push(Kind kind) { return m_script.emplace_back(kind); }
    // The next scripted step for a box of this kind; nullopt (and a failed test) when none was scripted.
    std::optional<Step> take(Kind kind, const Shown& shown);

    std::deque<Step> m_script;
    std::shared_ptr<std::function<void()>> m_cancelWait;     // empty while no wait is open
    std::shared_ptr<std::function<void()>> m_cancelProgress; // empty while no progress window is open
    QList<Shown> m_shown;
};
