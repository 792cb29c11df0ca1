// Reading the large generated issue (200 sections, 20,000 articles) from its first article to its last: with
// Ctrl+PageDown, against the plain keys (Esc, Down, Enter; at a section's end Esc, Esc, Down, Enter, Enter)
// without waiting for the article's 300 ms delay, in the same run; and the reading store's update per article.
#include "BenchTools.h"
#include "LargeIssue.h"
#include "QuietToolkit.h"
#include "SampleIssue.h"
#include "platform/CurrentProfile.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/IssueOpening.h"
#include "reader/Module1.h"
#include "reader/ReadingStore.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

// The keys, and whatever reading they started.
void key(QKeyCombination keys) {
    QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
    waitForReader();
}

FrmLeggiGiornale& openAtFirstArticle(const QString& archive) {
    openAndWait(archive);
    FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded();
    if (!reader)
        qFatal("the reader did not open");
    if (!QTest::qWaitForWindowActive(reader))
        qFatal("the reader is not active");
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    return *reader;
}

bool atLastArticle(FrmLeggiGiornale& reader) {
    return reader.sectionList()->currentIndex() == reader.sectionList()->count() - 1 &&
           reader.contentsList()->currentIndex() == reader.contentsList()->count() - 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LargeIssueFolder issue;
    const QString& archive = issue.archive;
    QTemporaryDir& programFolder = issue.folder;
    QuietToolkit toolkit;
    Toolkit::install(&toolkit);

    FrmLeggiGiornale& reader = openAtFirstArticle(archive);
    int articles = 1;
    const double ours = elapsedMs([&] {
        while (!atLastArticle(reader)) {
            key(Qt::CTRL | Qt::Key_PageDown);
            ++articles;
        }
    });
    delete &reader;

    FrmLeggiGiornale& again = openAtFirstArticle(archive);
    const double plainKeys = elapsedMs([&] {
        while (!atLastArticle(again)) {
            key(Qt::Key_Escape);
            if (again.contentsList()->currentIndex() == again.contentsList()->count() - 1) {
                key(Qt::Key_Escape);
                key(Qt::Key_Down);
                key(Qt::Key_Return);
            } else {
                key(Qt::Key_Down);
            }
            key(Qt::Key_Return);
        }
    });

    ReadingStore store(programFolder.filePath("prova.json"));
    while (!store.isLoaded())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double storeMs = elapsedMs([&] {
        for (int i = 0; i < 20000; ++i)
            store.markRead("Grande20261205",
                           {QStringLiteral("Sezione%1").arg(i / 100), QString::number(i % 100), i % 100, {}});
    });
    // The window thread's part of a write: the changes handed to the worker that writes them.
    const double flushMs = elapsedMs([&] { store.flush(); });
    const double ratio = ours / plainKeys;
    std::printf("%d articoli: Ctrl+Pagina giù %.3f ms per articolo, Esc Giù Invio %.3f ms per articolo\n", articles,
                ours / articles, plainKeys / articles);
    std::printf(
        "rapporto: %.2f (obiettivo <= 1.30); aggiornamento delle letture: %.4f ms per articolo (obiettivo <= 1)\n",
        ratio, storeMs / 20000);
    std::printf("scrittura delle letture di 20000 articoli, parte della finestra: %.1f ms (obiettivo <= 100, al "
                "massimo ogni 2 s)\n",
                flushMs);
    return ratio <= 1.3 && storeMs / 20000 <= 1 && flushMs <= 100 ? 0 : 1;
}
