#include "platform/Cp1252.h"
#include "support/TestMain.h"

#include <QTest>

class TestCp1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteSurvivesARoundTripAndOtherCharactersBecomeOneQuestionMarkEach() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        QCOMPARE(Cp1252::encode(Cp1252::decode(all)), all);
        QCOMPARE(Cp1252::encode(QStringLiteral("a\u0101b\U0001F600c")), QByteArray("a?b?c"));
    }

    void italianNewspaperCharacters_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("accented") << QByteArray("citt\xe0 perch\xe9 pi\xf9 \xc8")
                                  << QStringLiteral("città perché più È");
        QTest::newRow("euro") << QByteArray("10 \x80") << QStringLiteral("10 €");
        QTest::newRow("curly quotes") << QByteArray("\x93s\xec\x94 l\x92Italia") << QStringLiteral("“sì” l’Italia");
        QTest::newRow("dashes and ellipsis") << QByteArray("\x96\x97\x85") << QStringLiteral("–—…");
    }

    void italianNewspaperCharacters() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Cp1252::decode(bytes), text);
        QCOMPARE(Cp1252::encode(text), bytes);
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
