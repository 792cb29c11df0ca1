#include "reader/ReaderTitle.h"
#include "support/TestMain.h"

#include <QTest>

class TestReaderTitle : public QObject {
    Q_OBJECT

    const QLocale m_italian{QLocale::Italian, QLocale::Italy};

private slots:
    void titlesFromBaseNames_data() {
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("title");
        const auto row = [](const char* tag, const QString& baseName, const QString& title) {
            QTest::newRow(tag) << baseName << title;
        };
        row("date only", "ABC20061205", "ABC di martedì 5 dicembre 2006");
        row("edition", "ABC20061205xyz", "ABC - xyz di martedì 5 dicembre 2006");
        row("masthead with spaces", "La Gazzetta del Borgo20261205", "La Gazzetta del Borgo di sabato 5 dicembre 2026");
        row("edition entry with its leading space", "Il Corriere20261205 Alta Valle",
            "Il Corriere -  Alta Valle di sabato 5 dicembre 2026");
        row("edition ending in a digit", "ABC20061205Zona2", "ABC - Zona2 di martedì 5 dicembre 2006");
        row("edition with a number", "Eco20261205Zona 2", "Eco - Zona 2 di sabato 5 dicembre 2026");
        row("masthead ending in digits", "Radio2420261205Nord", "Radio24 - Nord di sabato 5 dicembre 2026");
        row("eight digits but no date: as they stand", "ABC20061305", "ABC di 05/13/2006");
        row("no room for a date", "giornale", "giornale");
        row("digits but no room for a date", "ab123", "ab123");
        row("not ASCII digits", "ABC٢٠٠٦١٢٠٥", "ABC٢٠٠٦١٢٠٥");
    }

    void titlesFromBaseNames() {
        QFETCH(QString, baseName);
        QFETCH(QString, title);
        QCOMPARE(ReaderTitle::fromBaseName(baseName, m_italian), title);
    }

    void withoutRegionalSettingsDatesAreItalian() {
#ifdef Q_OS_WIN
        QSKIP("Windows ha sempre le impostazioni internazionali dell'utente.");
#endif
        QCOMPARE(QLocale::system().language(), QLocale::C); // ctest runs the tests under C.UTF-8
        QCOMPARE(ReaderTitle::dateLocale().language(), QLocale::Italian);
        QVERIFY(ReaderTitle::longDate("05/12/2006", QLocale(QLocale::English)).contains("December"));
    }

    void theChosenFileNamesTheNewspaper_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* tag, const QString& path, const QString& name) {
            QTest::newRow(tag) << path << name;
        };
        row("sub-folder", "/p/Giornali/dicembre/Gazzetta20261205.zip", "Gazzetta20261205");
        row("other extension", "/p/Gazzetta20261205.dati", "Gazzetta20261205.");
        row("no folder", "xGazzetta.zip", "Gazzetta");
        row("four characters", "/p/.zip", "");
        row("too short", "/p/a.z", "(nessuno)");
    }

    void theChosenFileNamesTheNewspaper() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(ReaderTitle::nomeGiornale(path).value_or("(nessuno)"), name);
    }
};

GIORNALI_TEST_MAIN(TestReaderTitle)
#include "tst_readertitle.moc"
