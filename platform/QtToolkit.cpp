#include "QtToolkit.h"

#include "ProgressWindow.h"
#include "Screen.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace {

QMessageBox::Icon boxIcon(Toolkit::Icon icon) {
    switch (icon) {
    case Toolkit::Icon::Information:
        return QMessageBox::Information;
    case Toolkit::Icon::Exclamation:
        return QMessageBox::Warning;
    case Toolkit::Icon::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

void nameButton(QMessageBox& box, QMessageBox::StandardButton which, const QString& caption) {
    QAbstractButton* button = box.button(which);
    button->setText(caption);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
}

// The window a box belongs to: the context's own window when it is on screen, else the active one, but never a
// window that is closing (the box would go with it), nor a wait window, which goes when its work ends.
QWidget* ownerOf(QObject* context) {
    QWidget* owner = context && context->isWidgetType() ? static_cast<QWidget*>(context)->window() : nullptr;
    if (!owner || !owner->isVisible())
        owner = QApplication::activeWindow();
    if (qobject_cast<ProgressWindow*>(owner))
        return nullptr;
    return owner && !owner->property(kClosed).toBool() ? owner : nullptr;
}

// Opens the dialog window-modal without waiting; once it is closed, reply gets its result, if the context (when
// one was given) still lives. The dialog goes with its owner window. A wait window up stands aside while the box
// is up, so the box is never under it, and comes back after, unless its work has ended meanwhile.
template <typename Reply> void openWithoutWaiting(QDialog* dialog, QObject* context, Reply reply) {
    QPointer<QObject> guard(context);
    const bool guarded = context != nullptr;
    QPointer<ProgressWindow> wait = qobject_cast<ProgressWindow*>(QApplication::activeModalWidget());
    if (wait)
        wait->hide();
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [dialog, guard, guarded, wait, reply = std::move(reply)](int result) {
                         dialog->deleteLater();
                         if (wait)
                             wait->show();
                         if (guarded && !guard)
                             return;
                         reply(result);
                     });
    dialog->open();
}

// Orca shows a box on the braille display by its name and role only, while it speaks its text too: through AT-SPI
// the box is named by its title and its text, which Orca then speaks once, as the name. Through UI Automation a
// box's text is read by itself, and its name stays the title.
QMessageBox* box(QMessageBox::Icon icon, const QString& title, const QString& text,
                 QMessageBox::StandardButtons buttons, QObject* context) {
    auto* box = new QMessageBox(icon, title, text, buttons, ownerOf(context));
#ifndef Q_OS_WIN
    // On one line, as a display shows it; the text's label reads the same, so that Orca knows it is said already.
    const QString line = QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    box->setAccessibleName(title + QStringLiteral(": ") + line);
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setAccessibleName(line);
#endif
    return box;
}

QMessageBox* messageBox(QObject* context, const QString& text, const QString& title, Toolkit::Icon icon) {
    auto* box = ::box(boxIcon(icon), title, text, QMessageBox::Ok, context);
    nameButton(*box, QMessageBox::Ok, QStringLiteral("OK"));
    return box;
}

} // namespace

void QtToolkit::message(QObject* context, const QString& text, const QString& title, Icon icon,
                        std::function<void()> then) {
    openWithoutWaiting(messageBox(context, text, title, icon), context, [then = std::move(then)](int) {
        if (then)
            then();
    });
}

void QtToolkit::askYesNoCancel(QObject* context, const QString& text, const QString& title,
                               std::function<void(Answer)> then) {
    auto* box =
        ::box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, context);
    nameButton(*box, QMessageBox::Yes, QStringLiteral("&Sì"));
    nameButton(*box, QMessageBox::No, QStringLiteral("&No"));
    nameButton(*box, QMessageBox::Cancel, QStringLiteral("Annulla"));
    openWithoutWaiting(box, context, [box, then = std::move(then)](int) {
        const auto pressed = box->standardButton(box->clickedButton());
        then(pressed == QMessageBox::Yes ? Answer::Yes : pressed == QMessageBox::No ? Answer::No : Answer::Cancel);
    });
}

void QtToolkit::askText(QObject* context, const QString& prompt, const QString& title,
                        std::function<void(const QString&)> then) {
    auto* dialog = new QInputDialog(ownerOf(context));
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setOkButtonText(QStringLiteral("OK"));
    dialog->setCancelButtonText(QStringLiteral("Annulla"));
    openWithoutWaiting(dialog, context, [dialog, then = std::move(then)](int result) {
        then(result == QDialog::Accepted ? dialog->textValue() : QString());
    });
}

void QtToolkit::confirm(QObject* context, const QString& question, const QString& title,
                        std::function<void(bool)> then) {
    auto* box = ::box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No, context);
    nameButton(*box, QMessageBox::Yes, QStringLiteral("&Sì"));
    nameButton(*box, QMessageBox::No, QStringLiteral("&No"));
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    openWithoutWaiting(box, context, [box, then = std::move(then)](int) {
        then(box->standardButton(box->clickedButton()) == QMessageBox::Yes);
    });
}

void QtToolkit::askNumber(QObject* context, const QString& prompt, const QString& title, int suggestion, int minimum,
                          int maximum, std::function<void(std::optional<int>)> then) {
    auto* dialog = new QInputDialog(ownerOf(context));
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setInputMode(QInputDialog::IntInput);
    dialog->setIntRange(minimum, maximum);
    dialog->setIntValue(suggestion);
    dialog->setOkButtonText(QStringLiteral("OK"));
    dialog->setCancelButtonText(QStringLiteral("Annulla"));
    openWithoutWaiting(dialog, context, [dialog, then = std::move(then)](int result) {
        then(result == QDialog::Accepted ? std::optional<int>(dialog->intValue()) : std::nullopt);
    });
}

void QtToolkit::chooseFileToOpen(QObject* context, const QString& initialFolder, const FileFilter& filter,
                                 const QString& title, std::function<void(std::optional<QString>)> then) {
    auto* dialog = new QFileDialog(ownerOf(context), title, initialFolder,
                                   QStringLiteral("%1(%2)").arg(filter.description, filter.pattern));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    openWithoutWaiting(dialog, context, [dialog, then = std::move(then)](int result) {
        const QStringList chosen = dialog->selectedFiles();
        if (result != QDialog::Accepted || chosen.isEmpty())
            then(std::nullopt);
        else
            then(QDir::toNativeSeparators(chosen.first()));
    });
}

void QtToolkit::chooseFolder(QObject* context, const QString& initialFolder, const QString& title,
                             std::function<void(std::optional<QString>)> then) {
    auto* dialog = new QFileDialog(ownerOf(context), title, initialFolder);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    openWithoutWaiting(dialog, context, [dialog, then = std::move(then)](int result) {
        const QStringList chosen = dialog->selectedFiles();
        if (result != QDialog::Accepted || chosen.isEmpty())
            then(std::nullopt);
        else
            then(QDir::toNativeSeparators(chosen.first()));
    });
}

std::unique_ptr<Toolkit::Progress> QtToolkit::showProgress(const QString& label, const QString& title,
                                                           std::function<void()> cancel) {
    return std::make_unique<ProgressWindowHandle>(label, title, std::move(cancel), true);
}

std::unique_ptr<Toolkit::Progress> QtToolkit::showWait(const QString& label, const QString& title,
                                                       std::function<void()> cancel) {
    return std::make_unique<ProgressWindowHandle>(label, title, std::move(cancel), false);
}

bool QtToolkit::launch(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

bool QtToolkit::openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
