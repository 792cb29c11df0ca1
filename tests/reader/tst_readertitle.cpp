#include "reader/FrmSelezionaGiornale.h"
#include "reader/ReaderTitle.h"

#include <QTest>

class TestReaderTitle : public QObject {
    Q_OBJECT

    const QLocale m_italian{QLocale::Italian, QLocale::Italy};

private slots:
    void titlesFromBaseNames_data() {
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("title");
        QTest::newRow("date only") << "ABC20061205"
                                   << "ABC di martedì 5 dicembre 2006";
        QTest::newRow("edition without digits") << "ABC20061205xyz"
                                                << "ABC - xyz di martedì 5 dicembre 2006";
        QTest::newRow("masthead with spaces") << "La Gazzetta del Borgo20261205"
                                              << "La Gazzetta del Borgo di sabato 5 dicembre 2026";
        QTest::newRow("edition with spaces") << "Il Corriere20261205 Alta Valle"
                                             << "Il Corriere -  Alta Valle di sabato 5 dicembre 2026";
        QTest::newRow("edition ending in a digit") << "ABC20061205Zona2"
                                                   << "ABC20061 -  di a2/on/205Z";
        QTest::newRow("month 13") << "ABC20061305"
                                  << "ABC di 05/13/2006";
        QTest::newRow("last digit but not eight") << "Gazzetta-05-12-2006"
                                                  << "Gazzetta-05 -  di 06/20/-12-";
        QTest::newRow("eight digits only") << "20061205"
                                           << " di martedì 5 dicembre 2006";
        QTest::newRow("short name, no date") << "giornale"
                                             << "giornale";
        QTest::newRow("short name with digits") << "ab123"
                                                << "ab123";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("not ASCII digits") << "ABC٢٠٠٦١٢٠٥"
                                          << "ABC٢٠٠٦١٢٠٥";
    }

    void titlesFromBaseNames() {
        QFETCH(QString, baseName);
        QFETCH(QString, title);
        QCOMPARE(ReaderTitle::fromBaseName(baseName, m_italian), title);
    }

    void withoutRegionalSettingsDatesAreItalian() {
        QCOMPARE(QLocale::system().language(), QLocale::C); // ctest runs the tests under C.UTF-8
        QCOMPARE(ReaderTitle::dateLocale().language(), QLocale::Italian);
        QVERIFY(ReaderTitle::longDate("05/12/2006", QLocale(QLocale::English)).contains("December"));
    }

    void theChosenFileNamesTheNewspaper_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("sub-folder") << "/p/Giornali/dicembre/Gazzetta20261205.zip"
                                    << "Gazzetta20261205";
        QTest::newRow("other extension") << "/p/Gazzetta20261205.dati"
                                         << "Gazzetta20261205.";
        QTest::newRow("no folder") << "xGazzetta.zip"
                                   << "Gazzetta";
        QTest::newRow("four characters") << "/p/.zip"
                                         << "";
        QTest::newRow("too short") << "/p/a.z"
                                   << "(nessuno)";
    }

    void theChosenFileNamesTheNewspaper() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(FrmSelezionaGiornale::nomeGiornale(path).value_or("(nessuno)"), name);
    }
};

QTEST_MAIN(TestReaderTitle)
#include "tst_readertitle.moc"
