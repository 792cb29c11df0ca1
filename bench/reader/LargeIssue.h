#pragma once

#include "SampleIssue.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/IssueOpening.h"
#include "reader/Module1.h"
#include "reader/ReaderTasks.h"
#include "reader/ReaderTitle.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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

// Lets the event loop run until the reader has no reading under way.
inline void waitForReader() {
    for (;;) {
        FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded();
        if (!reader || (!reader->isScanning() && !reader->tasks().busy()))
            return;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// Opens the archive as the program does and lets the event loop run until the reader shows its sections.
inline void openAndWait(const QString& archive) {
    Module1::ApriArchivio(archive, ReaderTitle::fromBaseName(QFileInfo(archive).completeBaseName()));
    while (IssueOpening::isRunning())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    waitForReader();
}
