#pragma once

#include "Toolkit.h"

// The toolkit of a real desktop session: Qt's modal boxes and dialogs, with Italian buttons, and Qt's launchers.
class QtToolkit : public Toolkit {
public:
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
};
