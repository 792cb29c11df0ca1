// The exports of an issue: EPUB checked by epubcheck, awkward text escaped, what cannot be read left out and said.
#include "SampleIssue.h"
#include "app/FrmLetturaGiornali.h"
#include "export/DaisyBook.h"
#include "export/EpubBook.h"
#include "export/ExportRun.h"
#include "export/FrmEsporta.h"
#include "export/IssueContent.h"
#include "export/voce/Mp3Speaker.h"
#include "platform/Announcer.h"
#include "platform/Screen.h"
#include "reader/FrmGiornaliScaricati.h"
#include "reader/FrmLeggiGiornale.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

Q_DECLARE_METATYPE(ExportRun::Format)

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
    write(folder + "/Sport-001.txt", "Tre\ta zero\x1a.\r\n");
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

// The content of the meta element of that name.
QString metaContent(const QString& path, const QString& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.attributes().value("name") == name)
            return xml.attributes().value("content").toString();
    }
    return {};
}

// "npt=1.250s" as seconds.
double nptSeconds(const QString& value) {
    return value.mid(4).chopped(1).toDouble();
}

// The audio holds: every clip lies within its MP3 as decoded, each MP3 lasts what the synthesiser gave (within
// 2%), and ncc:totalTime is the sum of the clips.
QStringList audioFaults(const QString& folder) {
    QStringList faults;
    double sum = 0;
    QMap<QString, double> lastEnd;
    for (const QString& smil : QDir(folder).entryList({"*.smil"})) {
        QFile file(folder + "/" + smil);
        if (!file.open(QIODevice::ReadOnly))
            return {smil + " illeggibile"};
        QXmlStreamReader xml(&file);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("audio"))
                continue;
            const QString src = xml.attributes().value("src").toString();
            const double begin = nptSeconds(xml.attributes().value("clip-begin").toString());
            const double end = nptSeconds(xml.attributes().value("clip-end").toString());
            sum += end - begin;
            lastEnd[src] = std::max(lastEnd.value(src), end);
            if (begin < 0 || end < begin)
                faults << QString("%1: clip %2-%3").arg(smil).arg(begin).arg(end);
        }
    }
    for (auto mp3 = lastEnd.cbegin(); mp3 != lastEnd.cend(); ++mp3) {
        QFile file(folder + "/" + mp3.key());
        const auto decoded = file.open(QIODevice::ReadOnly) ? Mp3Speaker::decodedSamples(file.readAll())
                                                            : Outcome<std::pair<qint64, int>>(Failure{"manca"});
        if (!decoded || decoded.value().second <= 0) {
            faults << mp3.key() + ": " + decoded.reason();
            continue;
        }
        const double seconds = double(decoded.value().first) / decoded.value().second;
        if (mp3.value() > seconds + 0.001 || std::abs(seconds - mp3.value()) > 0.02 * mp3.value())
            faults << QString("%1 dura %2 s, la voce ne ha dati %3").arg(mp3.key()).arg(seconds).arg(mp3.value());
    }
    const QTime total = QTime::fromString(metaContent(folder + "/ncc.html", "ncc:totalTime"), "hh:mm:ss");
    if (std::abs(QTime(0, 0).secsTo(total) - sum) > 0.5)
        faults << QString("ncc:totalTime %1, le clip %2 s").arg(total.toString()).arg(sum);
    return faults;
}

ExportRun::Order demoOrder(const QString& dir, ExportRun::Format format) {
    const SampleIssue::Layout demo = SampleIssue::demoIssues().first();
    const QString archive = dir + "/" + SampleIssue::baseName(demo) + ".zip";
    if (!QFile::exists(archive))
        SampleIssue::write(demo, archive);
    return {.archive = archive,
            .title = "La Gazzetta del Borgo",
            .key = SampleIssue::baseName(demo),
            .target = dir,
            .format = format};
}

ExportRun::Order awkwardOrder(const QString& dir, ExportRun::Format format) {
    return {.issueFolder = awkwardIssue(dir + "/Temp"),
            .title = "La Gazzetta di sabato 5 dicembre 2026",
            .key = "Gazzetta20261205",
            .target = dir,
            .format = format,
            .workers = 2};
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

    // epubcheck finds no error and no warning in the book of the demo issue, taken from its stored archive, and in
    // the book of awkward text.
    void theEpubPassesEpubcheck_data() {
        QTest::addColumn<bool>("demo");
        QTest::newRow("giornale dimostrativo") << true;
        QTest::newRow("testo difficile") << false;
    }
    void theEpubPassesEpubcheck() {
        QFETCH(bool, demo);
        // Debian's epubcheck is a jar, run by java where the system does not start jars by itself.
        const QString epubcheck = QStandardPaths::findExecutable("epubcheck");
        const QString java = QStandardPaths::findExecutable("java");
        if (epubcheck.isEmpty() || java.isEmpty())
            QSKIP("epubcheck is not installed");
        QTemporaryDir dir;
        const auto format = ExportRun::Format::Epub;
        const ExportRun::Order order = demo ? demoOrder(dir.path(), format) : awkwardOrder(dir.path(), format);
        QStringList said;
        const Outcome<ExportRun::Done> done =
            ExportRun::run(order, false, [&](const QString& text, int, int) { said << text; });
        QVERIFY2(done, qPrintable(done.reason()));
        QCOMPARE(said.last(), demo ? QString("Esportazione: Spettacoli, articolo 48 di 48")
                                   : QString("Esportazione: Sport, articolo 3 di 3"));
        QProcess check;
        check.start(java, {"-jar", QFileInfo(epubcheck).canonicalFilePath(), "--failonwarnings",
                           QDir::fromNativeSeparators(done.value().book)});
        QVERIFY(check.waitForFinished(120000));
        const QString report = QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
        QVERIFY2(check.exitCode() == 0 && !report.contains("WARNING") && !report.contains("ERROR"), qPrintable(report));
    }

    // The talking book with voice: two voice processes speak the articles, tabs and control characters and all,
    // into a folder whose name the voice's requests must carry whole; every heading leads to its par, every clip
    // lies within its MP3, and the book's time is the clips'. A second export takes the first one's place.
    void theTalkingBookWithVoiceHolds() {
        QTemporaryDir dir;
        ExportRun::Order order = awkwardOrder(dir.path(), ExportRun::Format::DaisyVoice);
#ifdef Q_OS_WIN
        order.target = dir.filePath("Libri è");
#else
        order.target = dir.filePath("Libri\tè");
#endif
        QDir().mkpath(order.target);
        QList<int> counted;
        Outcome<ExportRun::Done> done;
        for (int run = 0; run < 2; ++run) {
            counted.clear();
            done = ExportRun::run(order, false, [&](const QString&, int done, int total) {
                if (total > 0)
                    counted << done;
            });
            QVERIFY2(done, qPrintable(done.reason()));
        }
        QCOMPARE(counted, (QList<int>{1, 2, 3}));
        QCOMPARE(QDir(order.target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"La Gazzetta di sabato 5 dicembre 2026"});
        const QString book = QDir::fromNativeSeparators(done.value().book);
        QCOMPARE(daisyFaults(book), QStringList());
        QCOMPARE(audioFaults(book).join("\n"), QString());
        QCOMPARE(QDir(book).entryList({"*.mp3"}).size(), 3);
        QCOMPARE(metaContent(book + "/ncc.html", "ncc:multimediaType"), QString("audioFullText"));
        QCOMPARE(metaContent(book + "/ncc.html", "ncc:narrator"), QString("eSpeak NG, voce it"));
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
                FrmEsporta::choose(reader, {.issueFolder = issue, .title = title, .key = key},
                                   folder.file("impostazioni.ini"));
            });
        QTemporaryDir target;
        const QString issueFolder = awkwardIssue(folder.file("Temp"));
        FrmLeggiGiornale& reader = showActive<FrmLeggiGiornale>();
        reader.openIssue(issueFolder, "La Gazzetta di sabato 5 dicembre 2026", "Gazzetta20261205", std::nullopt);
        QTRY_VERIFY(reader.sectionList()->count() >= 3); // the reader lists every section
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
        QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow()->objectName() == "FrmEsporta");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // DAISY con voce
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

    // Ctrl+E in "Giornali scaricati" exports the chosen issue from its stored archive.
    void ctrlEExportsTheChosenStoredIssue() {
        TestProgramFolder folder;
        QApplication::setQuitOnLastWindowClosed(false);
        FrmGiornaliScaricati::setExportAction(
            [&](QWidget* window, const QString& archive, const QString& title, const QString& key) {
                FrmEsporta::choose(window, {.archive = archive, .title = title, .key = key},
                                   folder.file("impostazioni.ini"));
            });
        folder.write("accesso.txt", "demo--demo\r\n");
        QDir(folder.path()).mkpath("Giornali");
        const ExportRun::Order demo = demoOrder(folder.file("Giornali"), ExportRun::Format::Epub);
        child<QPushButton>(&Screen<FrmLetturaGiornali>::show(), "CmdGiornaliScaricati")->click();
        QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget()->objectName() == "CboGiornaliScaricati");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
        QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow()->objectName() == "FrmEsporta");
        QTemporaryDir target;
        folder.toolkit.answerFile(QDir::toNativeSeparators(target.path()));
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_C, Qt::AltModifier);
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(target.path()).entryList({"*.epub"}).isEmpty(), 10000);
        QCOMPARE(QDir(target.path()).entryList({"*.epub"}).first(),
                 ArchiveLibrary::list(folder.file("Giornali")).value().first().title + ".epub");
        Screen<FrmGiornaliScaricati>::ifLoaded()->close();
        FrmGiornaliScaricati::setExportAction({});
    }

    // A stop in the middle, and a target that cannot be written, leave nothing at the book's name; the failure says
    // why.
    void aStopOrAFailureLeavesNothing_data() {
        QTest::addColumn<ExportRun::Format>("format");
        QTest::addColumn<bool>("writable");
        for (const auto& [name, format] : {std::pair{"EPUB", ExportRun::Format::Epub},
                                           {"DAISY solo testo", ExportRun::Format::DaisyText},
                                           {"DAISY con voce", ExportRun::Format::DaisyVoice}}) {
            QTest::newRow(qPrintable(QString(name) + ", fermata")) << format << true;
            QTest::newRow(qPrintable(QString(name) + ", sola lettura")) << format << false;
        }
    }
    void aStopOrAFailureLeavesNothing() {
        QFETCH(ExportRun::Format, format);
        QFETCH(bool, writable);
#ifndef Q_OS_LINUX
        if (!writable)
            QSKIP("a folder no one may write, even an administrator, is /sys on Linux");
#endif
        QTemporaryDir dir;
        ExportRun::Order order = awkwardOrder(dir.path(), format);
        const QString target = writable ? dir.filePath("libri") : "/sys";
        QDir().mkpath(target);
        order.target = target;
        std::atomic<bool> cancelled = false;
        const Outcome<ExportRun::Done> done =
            ExportRun::run(order, cancelled, [&](const QString&, int done, int) { cancelled = done >= 1; });
        QVERIFY(!done);
        if (writable) {
            QCOMPARE(done.reason(), QString("esportazione annullata"));
            QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        } else {
            QVERIFY2(done.reason().contains("accesso negato") || done.reason().contains("sola lettura"),
                     qPrintable(done.reason()));
            QVERIFY(!QFile::exists("/sys/La Gazzetta di sabato 5 dicembre 2026.parziale"));
        }
    }
};

GIORNALI_TEST_MAIN(TestExport)
#include "tst_export.moc"
