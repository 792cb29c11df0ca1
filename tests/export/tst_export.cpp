// The exports of an issue: EPUB checked by epubcheck, awkward text escaped, what cannot be read left out and said.
#include "export/DaisyBook.h"
#include "export/EpubBook.h"
#include "export/FrmEsporta.h"
#include "export/IssueContent.h"
#include "platform/Announcer.h"
#include "reader/FrmLeggiGiornale.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Cronaca with awkward text (in Windows-1252), an empty section, a section whose index cannot be read, Sport.
QString awkwardIssue(const QString& folder) {
    QDir().mkpath(folder);
    write(folder + "/01-Cronaca-000.txt", "001 Sconti & \"offerte\" <oggi>\r\n002 L'\xe8 d'or\xe9\r\n");
    write(folder + "/Cronaca-001.txt", "Prezzi < 5 \x80 & qualit\xe0 \x93"
                                       "alta\x94.\r\nSeconda riga\x01.\r\n");
    write(folder + "/Cronaca-002.txt", "Caff\xe8 e t\xe8.\r\n");
    write(folder + "/02-Vuota-000.txt", "");
#ifdef Q_OS_LINUX
    // an index that opens and cannot be read, whoever the user is
    QFile::link("/proc/self/mem", folder + "/03-Rotta-000.txt");
#endif
    write(folder + "/04-Sport-000.txt", "001 Vittoria\r\n");
    write(folder + "/Sport-001.txt", "Tre a zero.\r\n");
    return folder;
}

// Every element of the file with the attribute, as (element, value), read as XML.
QList<std::pair<QString, QString>> attributes(const QString& path, const QString& attribute) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<std::pair<QString, QString>> found;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.attributes().hasAttribute(attribute))
            found.append({xml.name().toString(), xml.attributes().value(attribute).toString()});
    }
    return xml.hasError() ? QList<std::pair<QString, QString>>{{"errore", xml.errorString()}} : found;
}

QStringList valuesOf(const QList<std::pair<QString, QString>>& found) {
    QStringList values;
    for (const auto& [element, value] : found)
        values << value;
    return values;
}

// The book's structure holds: every NCC heading leads to a par of an existing SMIL file, every par's text to an
// id of content.html, and the metadata a DAISY 2.02 player needs is there. What is wrong, or nothing.
QStringList daisyFaults(const QString& folder) {
    QStringList faults;
    const QStringList contentIds = valuesOf(attributes(folder + "/content.html", "id"));
    const QStringList names = valuesOf(attributes(folder + "/ncc.html", "name"));
    for (const char* required :
         {"dc:title", "dc:creator", "dc:date", "dc:identifier", "dc:language", "dc:publisher", "dc:format",
          "ncc:charset", "ncc:depth", "ncc:files", "ncc:generator", "ncc:multimediaType", "ncc:narrator", "ncc:setInfo",
          "ncc:tocItems", "ncc:totalTime", "ncc:pageFront", "ncc:pageNormal", "ncc:pageSpecial"}) {
        if (!names.contains(required))
            faults << QString("manca %1").arg(required);
    }
    for (const QString& href : valuesOf(attributes(folder + "/ncc.html", "href"))) {
        const QString smil = href.section('#', 0, 0);
        const auto pars = attributes(folder + "/" + smil, "id");
        if (!pars.contains({"par", href.section('#', 1)}))
            faults << "titolo senza par: " + href;
        for (const QString& src : valuesOf(attributes(folder + "/" + smil, "src"))) {
            if (src.startsWith("content.html#") && !contentIds.contains(src.section('#', 1)))
                faults << "testo mancante: " + src;
        }
    }
    return faults;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    void theIssueIsReadAsTheReaderShowsIt() {
        QTemporaryDir dir;
        const std::atomic<bool> cancelled = false;
        const Outcome<IssueContent> issue = IssueContent::read(
            awkwardIssue(dir.filePath("Temp")), "La Gazzetta di sabato 5 dicembre 2026", "Gazzetta20261205", cancelled);
        QVERIFY2(issue, qPrintable(issue.reason()));
        QCOMPARE(issue.value().sections.size(), 2);
        QCOMPARE(issue.value().masthead, QString("Gazzetta"));
        QCOMPARE(issue.value().date, QDate(2026, 12, 5));
        const IssueContent::Article& first = issue.value().sections.first().articles.first();
        QCOMPARE(first.title, QString("Sconti & \"offerte\" <oggi>"));
        QCOMPARE(first.paragraphs.join('\n'), QString("Prezzi < 5 € & qualità “alta”.Seconda riga\x01."));
#ifdef Q_OS_LINUX
        QCOMPARE(leftOutSummary(issue.value().leftOut),
                 QString("1 sezione non leggibile, esclusa; 1 sezione senza articoli, esclusa."));
#endif
    }

    // epubcheck finds no error and no warning in the book of awkward text.
    void theEpubPassesEpubcheck() {
        // Debian's epubcheck is a jar, run by java where the system does not start jars by itself.
        const QString epubcheck = QStandardPaths::findExecutable("epubcheck");
        const QString java = QStandardPaths::findExecutable("java");
        if (epubcheck.isEmpty() || java.isEmpty())
            QSKIP("epubcheck is not installed");
        QTemporaryDir dir;
        const std::atomic<bool> cancelled = false;
        const Outcome<IssueContent> issue = IssueContent::read(
            awkwardIssue(dir.filePath("Temp")), "La Gazzetta di sabato 5 dicembre 2026", "Gazzetta20261205", cancelled);
        QVERIFY(issue);
        const QString book = dir.filePath("libro.epub");
        int steps = 0;
        const Outcome<> written = EpubBook::write(issue.value(), book, [&](const QString&, int, int) {
            ++steps;
            return true;
        });
        QVERIFY2(written, qPrintable(written.reason()));
        QCOMPARE(steps, 2);
        QProcess check;
        check.start(java, {"-jar", QFileInfo(epubcheck).canonicalFilePath(), "--failonwarnings", book});
        QVERIFY(check.waitForFinished(120000));
        const QString said = QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
        QVERIFY2(check.exitCode() == 0 && !said.contains("WARNING") && !said.contains("ERROR"), qPrintable(said));
    }

    // The text-only talking book: its headings lead through the SMIL files to the text.
    void theTextOnlyDaisyBookHolds() {
        QTemporaryDir dir;
        const std::atomic<bool> cancelled = false;
        const Outcome<IssueContent> issue = IssueContent::read(
            awkwardIssue(dir.filePath("Temp")), "La Gazzetta di sabato 5 dicembre 2026", "Gazzetta20261205", cancelled);
        QVERIFY(issue);
        const QString book = dir.filePath("libro");
        QDir().mkpath(book);
        const Outcome<> written = DaisyBook::write(issue.value(), book, "Lettore giornali", {},
                                                   [](const QString&, int, int) { return true; });
        QVERIFY2(written, qPrintable(written.reason()));
        QCOMPARE(daisyFaults(book), QStringList());
        QCOMPARE(QDir(book).entryList(QDir::Files).size(), 2 + 3); // ncc, content, a SMIL per article
        QCOMPARE(valuesOf(attributes(book + "/ncc.html", "class")), QStringList{"title"});
        QVERIFY(QFile::exists(book + "/a00003.smil"));
    }

    // Ctrl+E in the reader: the format, the folder, Alt+E; the book is written beside the reader and its end said.
    void ctrlEExportsTheIssueOnShow() {
        TestProgramFolder folder;
        QApplication::setQuitOnLastWindowClosed(false);
        FrmLeggiGiornale::setExportAction(
            [&](QWidget* reader, const QString& issue, const QString& title, const QString& key) {
                FrmEsporta::choose(reader, issue, title, key, folder.file("impostazioni.ini"));
            });
        QTemporaryDir target;
        const QString issueFolder = awkwardIssue(folder.file("Temp"));
        FrmLeggiGiornale& reader = showActive<FrmLeggiGiornale>();
        reader.openIssue(issueFolder, "La Gazzetta di sabato 5 dicembre 2026", "Gazzetta20261205", std::nullopt);
        QTRY_VERIFY(reader.sectionList()->count() >= 3); // the reader lists every section
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
        QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow()->objectName() == "FrmEsporta");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // DAISY solo testo
        folder.toolkit.answerFile(QDir::toNativeSeparators(target.path()));
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_C, Qt::AltModifier);
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_E, Qt::AltModifier);
        const QString book = target.filePath("La Gazzetta di sabato 5 dicembre 2026");
        QTRY_VERIFY_WITH_TIMEOUT(child<Announcer>(&reader, "Annuncio")->text().startsWith("Giornale esportato in"),
                                 10000);
        QVERIFY(child<Announcer>(&reader, "Annuncio")->text().endsWith("sezione senza articoli, esclusa."));
        QVERIFY(QFile::exists(book + "/ncc.html"));
        QCOMPARE(daisyFaults(book), QStringList());
        QVERIFY(!QFile::exists(book + ".parziale"));
        FrmLeggiGiornale::setExportAction({});
    }

    // A stop leaves no book at its name.
    void aStopLeavesNothing() {
        QTemporaryDir dir;
        const std::atomic<bool> cancelled = false;
        const Outcome<IssueContent> issue =
            IssueContent::read(awkwardIssue(dir.filePath("Temp")), "Titolo", "Gazzetta20261205", cancelled);
        QVERIFY(issue);
        const QString book = dir.filePath("libro.epub");
        const Outcome<> written = EpubBook::write(issue.value(), book, [](const QString&, int, int) { return false; });
        QCOMPARE(written.reason(), QString("esportazione annullata"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
};

GIORNALI_TEST_MAIN(TestExport)
#include "tst_export.moc"
