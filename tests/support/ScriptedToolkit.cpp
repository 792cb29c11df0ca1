#include "ScriptedToolkit.h"

#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

const char* kindName(ScriptedToolkit::Kind kind) {
    static const char* const names[] = {"message box",      "Yes/No/Cancel box", "input box",
                                        "file-open dialog", "program launch",    "desktop open",
                                        "progress window",  "Yes/No box",        "number box"};
    return names[static_cast<int>(kind)];
}

} // namespace

void ScriptedToolkit::expectMessage() {
    push(Kind::Message);
}

void ScriptedToolkit::answerYesNoCancel(Answer answer, std::function<void()> whileShown) {
    Step& step = push(Kind::YesNoCancel);
    step.answer = answer;
    step.whileShown = std::move(whileShown);
}

void ScriptedToolkit::answerText(const QString& text, std::function<void()> whileShown) {
    Step& step = push(Kind::Text);
    step.text = text;
    step.whileShown = std::move(whileShown);
}

void ScriptedToolkit::answerFile(const std::optional<QString>& path) {
    push(Kind::File).text = path;
}

void ScriptedToolkit::answerConfirm(bool yes) {
    push(Kind::Confirm).started = yes;
}

void ScriptedToolkit::answerNumber(std::optional<int> number) {
    push(Kind::Number).number = number;
}

bool ScriptedToolkit::confirm(const QString& question, const QString& title) {
    const auto step = take(Kind::Confirm, {Kind::Confirm, question, title, Icon::Exclamation, {}, {}});
    return step && step->started;
}

std::optional<int> ScriptedToolkit::askNumber(const QString& prompt, const QString& title, int suggestion, int, int) {
    const auto step =
        take(Kind::Number, {Kind::Number, prompt, title, Icon::Information, {}, QString::number(suggestion)});
    return step ? step->number : std::nullopt;
}

void ScriptedToolkit::answerLaunch(bool started) {
    push(Kind::Launch).started = started;
}

void ScriptedToolkit::answerDesktop(bool started) {
    push(Kind::Desktop).started = started;
}

void ScriptedToolkit::answerProgress(qint64 cancelAfter) {
    push(Kind::Progress).cancelAfter = cancelAfter;
}

std::optional<ScriptedToolkit::Step> ScriptedToolkit::take(Kind kind, const Shown& shown) {
    m_shown.append(shown);
    if (m_script.empty() || m_script.front().kind != kind) {
        const QByteArray why =
            QByteArray("unscripted ") + kindName(kind) + ": \"" + shown.text.toUtf8() + "\" titled \"" +
            shown.title.toUtf8() + "\"" +
            (m_script.empty() ? QByteArray(" (nothing left in the script)")
                              : QByteArray(" (the script expects a ") + kindName(m_script.front().kind) + ")");
        QTest::qFail(why.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    Step step = m_script.front();
    m_script.pop_front();
    if (step.whileShown)
        step.whileShown();
    return step;
}

namespace {

// The answer goes to then only while the context (when one was given) lives: whileShown may have closed it.
template <typename Then, typename... Value>
void reply(const QPointer<QObject>& guard, bool guarded, const Then& then, Value&&... value) {
    if ((guarded && !guard) || !then)
        return;
    then(std::forward<Value>(value)...);
}

} // namespace

void ScriptedToolkit::message(QObject* context, const QString& text, const QString& title, Icon icon,
                              std::function<void()> then) {
    const QPointer<QObject> guard(context);
    message(text, title, icon);
    reply(guard, context != nullptr, then);
}

void ScriptedToolkit::askYesNoCancel(QObject* context, const QString& text, const QString& title,
                                     std::function<void(Answer)> then) {
    const QPointer<QObject> guard(context);
    const Answer answer = askYesNoCancel(text, title);
    reply(guard, context != nullptr, then, answer);
}

void ScriptedToolkit::askText(QObject* context, const QString& prompt, const QString& title,
                              std::function<void(const QString&)> then) {
    const QPointer<QObject> guard(context);
    const QString text = askText(prompt, title);
    reply(guard, context != nullptr, then, text);
}

void ScriptedToolkit::confirm(QObject* context, const QString& question, const QString& title,
                              std::function<void(bool)> then) {
    const QPointer<QObject> guard(context);
    const bool yes = confirm(question, title);
    reply(guard, context != nullptr, then, yes);
}

void ScriptedToolkit::askNumber(QObject* context, const QString& prompt, const QString& title, int suggestion,
                                int minimum, int maximum, std::function<void(std::optional<int>)> then) {
    const QPointer<QObject> guard(context);
    const std::optional<int> number = askNumber(prompt, title, suggestion, minimum, maximum);
    reply(guard, context != nullptr, then, number);
}

void ScriptedToolkit::chooseFileToOpen(QObject* context, const QString& initialFolder, const FileFilter& filter,
                                       const QString& title, std::function<void(std::optional<QString>)> then) {
    const QPointer<QObject> guard(context);
    const std::optional<QString> path = chooseFileToOpen(initialFolder, filter, title);
    reply(guard, context != nullptr, then, path);
}

// Answered as a file is, by answerFile(); the detail is the initial folder.
void ScriptedToolkit::chooseFolder(QObject* context, const QString& initialFolder, const QString& title,
                                   std::function<void(std::optional<QString>)> then) {
    const QPointer<QObject> guard(context);
    const auto step = take(Kind::File, {Kind::File, {}, title, Icon::Information, {}, initialFolder});
    reply(guard, context != nullptr, then, step ? step->text : std::nullopt);
}

void ScriptedToolkit::message(const QString& text, const QString& title, Icon icon) {
    take(Kind::Message, {Kind::Message, text, title, icon, {}, {}});
}

Toolkit::Answer ScriptedToolkit::askYesNoCancel(const QString& text, const QString& title) {
    const auto step = take(Kind::YesNoCancel, {Kind::YesNoCancel, text, title, Icon::Exclamation, {}, {}});
    return step ? step->answer : Answer::Cancel;
}

QString ScriptedToolkit::askText(const QString& prompt, const QString& title) {
    const auto step = take(Kind::Text, {Kind::Text, prompt, title, Icon::Information, {}, {}});
    return step && step->text ? *step->text : QString();
}

std::optional<QString> ScriptedToolkit::chooseFileToOpen(const QString& initialFolder, const FileFilter& filter,
                                                         const QString& title) {
    const QString detail = initialFolder + QLatin1Char('|') + filter.description + QLatin1Char('|') + filter.pattern;
    const auto step = take(Kind::File, {Kind::File, {}, title, Icon::Information, {}, detail});
    return step ? step->text : std::nullopt;
}

bool ScriptedToolkit::launch(const QString& program, const QStringList& arguments) {
    const auto step = take(Kind::Launch, {Kind::Launch, program, {}, Icon::Information, arguments, {}});
    return step && step->started;
}

bool ScriptedToolkit::openWithDesktop(const QString& path) {
    const auto step = take(Kind::Desktop, {Kind::Desktop, path, {}, Icon::Information, {}, {}});
    return step && step->started;
}

namespace {

// The window's cancel, called as the real window calls it: from the event loop, once.
void pressAnnulla(const std::shared_ptr<std::function<void()>>& cancel) {
    if (!cancel || !*cancel)
        return;
    QTimer::singleShot(0, [call = *cancel] { call(); });
    *cancel = nullptr;
}

class ScriptedProgress : public Toolkit::Progress {
public:
    ScriptedProgress(ScriptedToolkit& toolkit, qint64 cancelAfter, std::shared_ptr<std::function<void()>> cancel)
        : m_toolkit(toolkit), m_cancelAfter(cancelAfter), m_cancel(std::move(cancel)) {}
    ~ScriptedProgress() override { *m_cancel = nullptr; }
    void update(qint64 done, qint64 total) override {
        m_toolkit.progressDone = done;
        m_toolkit.progressTotal = total;
        if (m_cancelAfter >= 0 && done >= m_cancelAfter)
            pressAnnulla(m_cancel);
    }
    void describe(const QString& label) override { m_toolkit.progressLabel = label; }

private:
    ScriptedToolkit& m_toolkit;
    qint64 m_cancelAfter;
    std::shared_ptr<std::function<void()>> m_cancel;
};

} // namespace

std::unique_ptr<Toolkit::Progress> ScriptedToolkit::showProgress(const QString& label, const QString& title,
                                                                 std::function<void()> cancel) {
    const auto step = take(Kind::Progress, {Kind::Progress, label, title, Icon::Information, {}, {}});
    progressDone = progressTotal = -1;
    m_cancelProgress = std::make_shared<std::function<void()>>(std::move(cancel));
    auto progress = std::make_unique<ScriptedProgress>(*this, step ? step->cancelAfter : -1, m_cancelProgress);
    if (step && step->cancelAfter == 0)
        pressAnnulla(m_cancelProgress);
    return progress;
}

std::unique_ptr<Toolkit::Progress> ScriptedToolkit::showWait(const QString&, const QString&,
                                                             std::function<void()> cancel) {
    ++waitsShown;
    m_cancelWait = std::make_shared<std::function<void()>>(std::move(cancel));
    return std::make_unique<ScriptedProgress>(*this, -1, m_cancelWait);
}

void ScriptedToolkit::cancelWait() {
    pressAnnulla(m_cancelWait);
}
void ScriptedToolkit::cancelProgress() {
    pressAnnulla(m_cancelProgress);
}
