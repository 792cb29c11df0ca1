#pragma once

#include <QString>

// The platform's plain-text editor, started on one file without waiting for it: Notepad on Windows; elsewhere
// the program named by the environment variable below, or else the desktop's default application for text.
// Goes through the toolkit's launcher. False when nothing could be started.
namespace TextEditor {

constexpr const char* kEditorVariable = "LETTORE_GIORNALI_EDITOR";

bool open(const QString& path);

// Notepad's full path on Windows.
QString notepad();

} // namespace TextEditor
