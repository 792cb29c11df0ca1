// The extraction library called directly, with callbacks of the test's own: what the driver does not show.
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"
#include "support/ZipBuilder.h"
#include "unzip/UnzipRecords.h"

#include <QDir>
#include <QLibrary>
#include <QTest>
#include <stdexcept>

namespace {

QStringList g_listed;
QByteArray g_printed;
int32_t g_nestedCode = -1;
decltype(&Wiz_SingleEntryUnzip) g_unzip = nullptr;

int32_t print(const char* chunk, uint32_t length) {
    g_printed.append(chunk, length);
    return 0;
}

void listing(uint32_t size, uint32_t, uint32_t, uint32_t month, uint32_t day, uint32_t year, uint32_t, uint32_t,
             char kind, const char* name, const char*, uint32_t crc, char encrypted) {
    g_listed << QString::asprintf("%s %u %u-%u-%u %c %08x %c", name, size, year, month, day, kind, crc, encrypted);
}

int32_t serviceStartingAnother(const char*, uint32_t) {
    UnzipOptions options{};
    options.ZipFileName = "qualunque.zip";
    const UnzipCallbacks none{};
    const UnzipNameList empty{};
    g_nestedCode = g_unzip(0, &empty, 0, &empty, &options, &none);
    return 0;
}

int32_t serviceThatThrows(const char*, uint32_t) {
    throw std::runtime_error("guasto");
}

} // namespace

class TestUnzip32 : public QObject {
    Q_OBJECT

    QLibrary m_library{QCoreApplication::applicationDirPath() + "/unzip32"};

    int32_t run(const QString& archive, UnzipOptions options, const QStringList& include = {},
                const QStringList& exclude = {}, UnzipServiceCallback service = nullptr) {
        const QByteArray path = archive.toLocal8Bit();
        options.ZipFileName = path.constData();
        if (!options.ExtractDir)
            options.ExtractDir = "";
        UnzipNameList includes{}, excludes{};
        QList<QByteArray> keep;
        for (int i = 0; i < include.size(); ++i)
            includes.names[i] = keep.emplaceBack(include[i].toUtf8()).constData();
        for (int i = 0; i < exclude.size(); ++i)
            excludes.names[i] = keep.emplaceBack(exclude[i].toUtf8()).constData();
        UnzipCallbacks callbacks{};
        callbacks.print = print;
        callbacks.listing = listing;
        callbacks.service = service;
        g_listed.clear();
        g_printed.clear();
        return g_unzip(include.size(), &includes, exclude.size(), &excludes, &options, &callbacks);
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
        g_unzip = reinterpret_cast<decltype(&Wiz_SingleEntryUnzip)>(m_library.resolve("Wiz_SingleEntryUnzip"));
        QVERIFY(g_unzip);
    }

    void listingDescribesEveryEntry() {
        TestProgramFolder folder;
        QVERIFY(ZipBuilder().folder("Cronaca/").file("Cronaca/001.txt", "123456789").write(folder.file("a.zip")));
        UnzipOptions options{};
        options.ExtractList = 1;
        QCOMPARE(run(folder.file("a.zip"), options), UNZIP_OK);
        QCOMPARE(g_listed,
                 (QStringList{"Cronaca/ 0 2024-12-5 d 00000000  ", "Cronaca/001.txt 9 2024-12-5   cbf43926  "}));
    }

    void nameListsSelectEntries() {
        TestProgramFolder folder;
        QVERIFY(ZipBuilder()
                    .file("Sport/A.TXT", "a")
                    .file("sport/b.txt", "b")
                    .file("Esteri/c.txt", "c")
                    .write(folder.file("a.zip")));
        UnzipOptions options{};
        options.WriteToStdOut = 1;
        options.CaseSensitive = 1;
        QCOMPARE(run(folder.file("a.zip"), options, {"sport/*"}), UNZIP_OK);
        QCOMPARE(g_printed, QByteArray("b"));
        options.CaseSensitive = 0;
        QCOMPARE(run(folder.file("a.zip"), options, {"sport/*"}, {"*b.txt"}), UNZIP_OK);
        QCOMPARE(g_printed, QByteArray("a"));
        QCOMPARE(run(folder.file("a.zip"), options, {"cultura/*"}), UNZIP_NO_MATCH);
    }

    // A run without its records, or started while another is under way, does not start.
    void aRunWithoutRecordsOrDuringAnotherIsRefused() {
        QCOMPARE(g_unzip(0, nullptr, 0, nullptr, nullptr, nullptr), UNZIP_BAD_OPTIONS);
        UnzipOptions options{};
        const UnzipCallbacks callbacks{};
        QCOMPARE(g_unzip(0, nullptr, 0, nullptr, &options, &callbacks), UNZIP_BAD_OPTIONS);

        TestProgramFolder folder;
        QVERIFY(ZipBuilder().file("a.txt", "a").write(folder.file("a.zip")));
        options.TestZip = 1;
        QCOMPARE(run(folder.file("a.zip"), options, {}, {}, serviceStartingAnother), UNZIP_OK);
        QCOMPARE(g_nestedCode, UNZIP_BUSY);
    }

    // An exception inside the library ends the run as an internal error, said as such: never as a full disk.
    void anExceptionInsideIsAnInternalError() {
        TestProgramFolder folder;
        QVERIFY(ZipBuilder().file("a.txt", "a").write(folder.file("a.zip")));
        UnzipOptions options{};
        options.TestZip = 1;
        options.MessageLevel = 1;
        QCOMPARE(run(folder.file("a.zip"), options, {}, {}, serviceThatThrows), UNZIP_INTERNAL);
        QVERIFY2(g_printed.startsWith("Errore interno della libreria di decompressione"), g_printed.constData());
        QCOMPARE(run(folder.file("a.zip"), options), UNZIP_OK); // and the next run goes
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestUnzip32)
#include "tst_unzip32.moc"
