#include "TextEditor.h"

#include "Toolkit.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace TextEditor {

// Windows' own Notepad, by its full path: a bare "notepad" is looked for in the current folder first, where anyone
// could have put a program of that name.
QString notepad() {
    const QString system = qEnvironmentVariable("SystemRoot", QStringLiteral("C:\\Windows"));
    const QString path = QDir::toNativeSeparators(system + QStringLiteral("/System32/notepad.exe"));
    return QFileInfo::exists(path) ? path : QDir::toNativeSeparators(system + QStringLiteral("/notepad.exe"));
}

bool open(const QString& path) {
    // The path is one argument of its own, so spaces in it need no quotes.
#ifdef Q_OS_WIN
    return Toolkit::current().launch(notepad(), {QDir::toNativeSeparators(path)});
#else
    const QString editor = qEnvironmentVariable(kEditorVariable);
    if (!editor.isEmpty())
        return Toolkit::current().launch(editor, {path});
    return Toolkit::current().openWithDesktop(path);
#endif
}

} // namespace TextEditor
