#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QObject;

// The one way out of the program's own windows: every modal box, dialog and external program goes through the
// toolkit installed here. The real one shows Qt dialogs; tests install a scripted one.
class Toolkit {
public:
    enum class Icon { Information, Exclamation, Stop };
    enum class Answer { Yes, No, Cancel };

    struct FileFilter {
        QString description; // "File Zip "
        QString pattern;     // "*.zip"
    };

    // A modal progress window, open while the object lives. It never waits: the work goes on in the event loop.
    class Progress {
    public:
        virtual ~Progress() = default;
        // Bytes done of total; a total below 1 is unknown (the window then only shows that work goes on).
        virtual void update(qint64 done, qint64 total) = 0;
        // What the work has come to, in place of the label: "Esportazione: Cronaca, articolo 12 di 40".
        virtual void describe(const QString& label) { (void)label; }
    };

    virtual ~Toolkit() = default;

    // A modal progress window with the title, the label, a bar and an "Annulla" button. "Annulla" or Esc closes
    // it and then calls cancel from the event loop, never from inside update().
    virtual std::unique_ptr<Progress> showProgress(const QString& label, const QString& title,
                                                   std::function<void()> cancel) = 0;

    // The same window for a wait that only shows when work takes a while (a page asked of the service, an
    // archive opened), so whether it shows depends on the machine. Without a cancel it has no "Annulla".
    virtual std::unique_ptr<Progress> showWait(const QString& label, const QString& title,
                                               std::function<void()> cancel) = 0;

    // Boxes and dialogs never wait: each opens window-modal over the window of the context (or the active window)
    // and returns at once; its answer comes later to `then`, on the window thread, and only while the context
    // lives. A context destroyed while its box is up takes the answer with it.

    // A box with the text, the title, the icon and one OK button; `then` runs once it is closed.
    virtual void message(QObject* context, const QString& text, const QString& title, Icon icon,
                         std::function<void()> then = {}) = 0;
    // A box with an exclamation icon and the buttons Yes, No and Cancel; Esc or closing it answers Cancel.
    virtual void askYesNoCancel(QObject* context, const QString& text, const QString& title,
                                std::function<void(Answer)> then) = 0;
    // An input box with an empty entry; the text typed, or an empty string when cancelled.
    virtual void askText(QObject* context, const QString& prompt, const QString& title,
                         std::function<void(const QString&)> then) = 0;
    // A box with a question and the buttons Yes and No, No by default; true for Yes.
    virtual void confirm(QObject* context, const QString& question, const QString& title,
                         std::function<void(bool)> then) = 0;
    // An input box for a whole number between minimum and maximum, showing the suggestion; nothing when
    // cancelled.
    virtual void askNumber(QObject* context, const QString& prompt, const QString& title, int suggestion, int minimum,
                           int maximum, std::function<void(std::optional<int>)> then) = 0;
    // The file-open dialog; the chosen full path, or nothing when cancelled.
    virtual void chooseFileToOpen(QObject* context, const QString& initialFolder, const FileFilter& filter,
                                  const QString& title, std::function<void(std::optional<QString>)> then) = 0;

    // The folder dialog; the chosen folder's full path, or nothing when cancelled.
    virtual void chooseFolder(QObject* context, const QString& initialFolder, const QString& title,
                              std::function<void(std::optional<QString>)> then) = 0;

    // Starts an external program without waiting for it; false when it could not be started.
    virtual bool launch(const QString& program, const QStringList& arguments) = 0;

    // Opens a file in the desktop's default application for its type; false when none could be started.
    virtual bool openWithDesktop(const QString& path) = 0;

    // The toolkit in use. Installing one that is still in use by its owner is the caller's business.
    static Toolkit& current();
    static void install(Toolkit* toolkit);
};
