#include "TextEditor.h"

#include "Toolkit.h"

#include <QtGlobal>

namespace TextEditor {

bool open(const QString& path) {
    // The path is one argument of its own, so spaces in it need no quotes.
#ifdef Q_OS_WIN
    return Toolkit::current().launch(QStringLiteral("notepad"), {path});
#else
    const QString editor = qEnvironmentVariable(kEditorVariable);
    if (!editor.isEmpty())
        return Toolkit::current().launch(editor, {path});
    return Toolkit::current().openWithDesktop(path);
#endif
}

} // namespace TextEditor
