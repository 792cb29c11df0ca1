#include "QtToolkit.h"

#include "ProgressWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
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

} // namespace

std::unique_ptr<Toolkit::Progress> QtToolkit::showProgress(const QString& label, const QString& title,
                                                           std::function<void()> cancel) {
    return std::make_unique<ProgressWindowHandle>(label, title, std::move(cancel), true);
}

std::unique_ptr<Toolkit::Progress> QtToolkit::showWait(const QString& label, const QString& title,
                                                       std::function<void()> cancel) {
    return std::make_unique<ProgressWindowHandle>(label, title, std::move(cancel), false);
}

void QtToolkit::message(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    nameButton(box, QMessageBox::Ok, QStringLiteral("OK"));
    box.exec();
}

Toolkit::Answer QtToolkit::askYesNoCancel(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    QApplication::activeWindow());
    nameButton(box, QMessageBox::Yes, QStringLiteral("&Sì"));
    nameButton(box, QMessageBox::No, QStringLiteral("&No"));
    nameButton(box, QMessageBox::Cancel, QStringLiteral("Annulla"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtToolkit::askText(const QString& prompt, const QString& title) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

bool QtToolkit::confirm(const QString& question, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    nameButton(box, QMessageBox::Yes, QStringLiteral("&Sì"));
    nameButton(box, QMessageBox::No, QStringLiteral("&No"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<int> QtToolkit::askNumber(const QString& prompt, const QString& title, int suggestion, int minimum,
                                        int maximum) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(minimum, maximum);
    dialog.setIntValue(suggestion);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.intValue();
}

std::optional<QString> QtToolkit::chooseFileToOpen(const QString& initialFolder, const FileFilter& filter,
                                                   const QString& title) {
    const QString nameFilter = QStringLiteral("%1(%2)").arg(filter.description, filter.pattern);
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), title, initialFolder, nameFilter);
    if (chosen.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chosen);
}

bool QtToolkit::launch(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

bool QtToolkit::openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
