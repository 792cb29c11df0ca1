// Sentences of Italian newspaper text, as the reading voice says them one by one.
#include "reader/Sentences.h"
#include "support/TestMain.h"

#include <QTest>

class TestSentences : public QObject {
    Q_OBJECT

private slots:
    void splitsAtSentenceEndsOnly_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("sentences");
        QTest::newRow("plain") << "Il sindaco ha parlato. La giunta approva."
                               << QStringList{"Il sindaco ha parlato.", "La giunta approva."};
        QTest::newRow("titles and abbreviations")
            << "Il Sig. Rossi e il dott. Bianchi, a pag. 12 e all'art. 3, sono d'accordo. Poi sono partiti."
            << QStringList{"Il Sig. Rossi e il dott. Bianchi, a pag. 12 e all'art. 3, sono d'accordo.",
                           "Poi sono partiti."};
        QTest::newRow("initials") << "Lo ha detto G. Verdi ieri. Oggi tace."
                                  << QStringList{"Lo ha detto G. Verdi ieri.", "Oggi tace."};
        QTest::newRow("numbers") << "La spesa supera i 250.000 €, già stanziati. Il tasso è del 3,5 per cento."
                                 << QStringList{"La spesa supera i 250.000 €, già stanziati.",
                                                "Il tasso è del 3,5 per cento."};
        QTest::newRow("dates") << "Si vota il 5 dic. 2026 a Roma. Il 12.12.2026 si conta."
                               << QStringList{"Si vota il 5 dic. 2026 a Roma.", "Il 12.12.2026 si conta."};
        QTest::newRow("quotes") << "«È un passo avanti», ha dichiarato il portavoce. “Ma resta molto da fare.” Poi "
                                   "se ne è andato."
                                << QStringList{"«È un passo avanti», ha dichiarato il portavoce.",
                                               "“Ma resta molto da fare.”", "Poi se ne è andato."};
        QTest::newRow("questions, exclamations")
            << "Chi vincerà? Nessuno lo sa! Vedremo?! «Forse.» Basta."
            << QStringList{"Chi vincerà?", "Nessuno lo sa!", "Vedremo?!", "«Forse.»", "Basta."};
        QTest::newRow("ellipses") << "Aspettava… e poi partì. Poi... Nessuno rispose."
                                  << QStringList{"Aspettava… e poi partì.", "Poi...", "Nessuno rispose."};
        QTest::newRow("lines glued") << "Il prossimo appuntamento è lunedì.Il consiglio si riunirà alle 18."
                                     << QStringList{"Il prossimo appuntamento è lunedì.",
                                                    "Il consiglio si riunirà alle 18."};
        QTest::newRow("not glued") << "La Ferrari S.p.A. ha chiuso. Il sito è www.comune.it ora."
                                   << QStringList{"La Ferrari S.p.A. ha chiuso.", "Il sito è www.comune.it ora."};
        QTest::newRow("line breaks") << "Titolo senza punto\r\nPrimo paragrafo. Secondo.\r\n\r\n  Terzo"
                                     << QStringList{"Titolo senza punto", "Primo paragrafo.", "Secondo.", "Terzo"};
        QTest::newRow("small letter after a full stop")
            << "Costa 3 euro. e basta." << QStringList{"Costa 3 euro. e basta."};
        QTest::newRow("empty") << " \r\n " << QStringList();
    }

    void splitsAtSentenceEndsOnly() {
        QFETCH(QString, text);
        QFETCH(QStringList, sentences);
        QStringList found;
        for (const Sentences::Span& span : Sentences::split(text))
            found << text.mid(span.start, span.length);
        QCOMPARE(found, sentences);
    }

    // Hostile input: a long text without any end, and one of only marks, in bounded time.
    void longTextsStayLinear() {
        const QString words = QString("parola ").repeated(200000);
        QCOMPARE(Sentences::split(words).size(), 1);
        QCOMPARE(Sentences::split(QString(".").repeated(200000)).size(), 1);
        QCOMPARE(Sentences::split(QString("A. ").repeated(100000)).size(), 1); // initials all the way
    }
};

GIORNALI_TEST_MAIN(TestSentences)
#include "tst_sentences.moc"
