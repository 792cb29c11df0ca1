#pragma once

#include "SampleIssue.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QTemporaryDir>

// A temporary program folder with the large generated issue in its archive store; the program points at it.
struct LargeIssueFolder {
    LargeIssueFolder() {
        ProgramFolder::set(folder.path());
        QDir().mkpath(folder.filePath("Giornali"));
        if (!SampleIssue::write(layout, archive))
            qFatal("cannot write the issue");
    }

    QTemporaryDir folder;
    const SampleIssue::Layout layout = SampleIssue::largeIssue();
    const QString archive = folder.filePath("Giornali/" + SampleIssue::baseName(layout) + ".zip");
};
