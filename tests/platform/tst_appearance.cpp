#include "app/FrmConfigurazione.h"
#include "app/FrmLetturaGiornali.h"
#include "platform/Announcer.h"
#include "platform/Appearance.h"
#include "platform/FocusFrame.h"
#include "platform/ProgressWindow.h"
#include "platform/Zoom.h"
#include "reader/FrmCercaGiornali.h"
#include "reader/FrmGiornaliScaricati.h"
#include "reader/FrmLeggiGiornale.h"
#include "service/FrmEdizione.h"
#include "service/FrmTestata.h"
#include "support/Cramped.h"
#include "support/Screens.h"
#include "support/SpeechRecorder.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace {

// A screen large enough for the reader at 300%, so that every zoom keeps the designed proportions exactly.
constexpr int kScreenWidth = 3840; // and 2160 high, as main() makes it

struct Made {
    QSize size;
    QHash<QString, QRect> geometry;
    QHash<QString, qreal> points;
};

QList<QWidget*> controls(QWidget* window) {
    QList<QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_") && !w->isWindow() &&
            !qobject_cast<QFocusFrame*>(w) && w->objectName() != "AnnuncioAspetto")
            found << w;
    }
    return found;
}

Made asMade(QWidget* window) {
    Made made{window->size(), {}, {}};
    for (QWidget* w : controls(window)) {
        made.geometry[w->objectName()] = w->geometry();
        made.points[w->objectName()] = w->font().pointSizeF();
    }
    return made;
}

// Each edge within a pixel of the unzoomed one times the factor.
bool near(const QRect& actual, const QRect& unzoomed, double factor) {
    const auto within = [](int a, double b) { return std::abs(a - b) <= 1.0; };
    return within(actual.x(), unzoomed.x() * factor) && within(actual.y(), unzoomed.y() * factor) &&
           within(actual.width(), unzoomed.width() * factor) && within(actual.height(), unzoomed.height() * factor);
}

// The date step of the wizard when the service gave no dates, and why.
struct NoDates : FrmEdizione {
    NoDates() { listingArrived(Failure{"il servizio non ha risposto entro 30 secondi."}); }
};

// A long status line, as F2 says it in the reader.
template <typename F> QWidget* saying() {
    auto* window = new F;
    child<Announcer>(window, "Annuncio")
        ->say("La Gazzetta del Borgo di sabato 5 dicembre 2026. Sezione Prima-pagina, 1 di 8. Articolo 2 di 6: Il "
              "comitato di quartiere inaugura la stagione più attesa. Ultima lettura: Cronaca, articolo 12.");
    return window;
}

void press(QKeySequence keys) {
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow(), keys);
}

} // namespace

Q_DECLARE_METATYPE(std::function<QWidget*()>)

class TestAppearance : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString settingsPath() const { return m_dir.filePath("impostazioni.ini"); }

private slots:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().width() == kScreenWidth);
    }

    void init() {
        QFile::remove(settingsPath());
        Appearance::install(settingsPath());
    }

    // Every screen grows by the zoom, text and controls together, and comes back to its designed size.
    void everyScreenZooms_data() {
        QTest::addColumn<std::function<QWidget*()>>("make");
        QTest::addColumn<int>("steps"); // of 25%
        const QList<std::pair<const char*, std::function<QWidget*()>>> screens{
            {"menu", [] { return new FrmLetturaGiornali; }},
            {"profilo", [] { return new FrmConfigurazione; }},
            {"testata", [] { return new FrmTestata; }},
            {"lettore", [] { return new FrmLeggiGiornale; }},
            {"scaricati", [] { return new FrmGiornaliScaricati; }},
            {"ricerca", [] { return new FrmCercaGiornali; }},
        };
        for (const auto& [name, make] : screens) {
            for (int steps : {4, 8})
                QTest::addRow("%s %d%%", name, 100 + 25 * steps) << make << steps;
        }
    }

    void everyScreenZooms() {
        QFETCH(std::function<QWidget*()>, make);
        QFETCH(int, steps);
        TestProgramFolder folder;
        std::unique_ptr<QWidget> owned(make());
        QWidget* window = owned.get();
        const Made made = asMade(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        for (int i = 0; i < steps + 2; ++i) // past the largest step it stays there
            press(QKeySequence(Qt::CTRL | Qt::Key_Plus));
        const double factor = std::min(3.0, 1 + 0.25 * steps);
        if (steps == 8)
            QCOMPARE(Appearance::install(settingsPath()).settings().zoom, 300); // kept for the next start
        else
            for (int i = 0; i < 2; ++i)
                press(QKeySequence(Qt::CTRL | Qt::Key_Minus));

        QVERIFY(near(QRect(QPoint(), window->size()), QRect(QPoint(), made.size), factor));
        for (QWidget* w : controls(window)) {
            QVERIFY2(near(w->geometry(), made.geometry.value(w->objectName()), factor), qPrintable(w->objectName()));
            QCOMPARE(w->font().pointSizeF(), made.points.value(w->objectName()) * factor);
            if (w->isVisibleTo(window) && w->focusPolicy() != Qt::NoFocus)
                QVERIFY2(w->height() >= w->fontMetrics().height(), qPrintable(w->objectName()));
        }
        window->activateWindow();
        press(QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(asMade(window).size, made.size);
        QCOMPARE(asMade(window).geometry, made.geometry);
        QCOMPARE(asMade(window).points, made.points);
    }

    // At every zoom, in either palette, every text of every screen fits its place, inside the focus frame.
    void noTextIsCramped_data() {
        QTest::addColumn<std::function<QWidget*()>>("make");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("contrast");
        const QList<std::pair<const char*, std::function<QWidget*()>>> screens{
            {"menu", [] { return new FrmLetturaGiornali; }},
            {"profilo", [] { return new FrmConfigurazione; }},
            {"testata", [] { return new FrmTestata; }},
            {"nessuna data", [] { return new NoDates; }},
            {"lettore", [] { return saying<FrmLeggiGiornale>(); }},
            {"scaricati", [] { return new FrmGiornaliScaricati; }},
            {"ricerca", [] { return saying<FrmCercaGiornali>(); }},
            {"attesa", [] { return new ProgressWindow("Scaricamento del giornale in corso…", "Scaricamento", {}); }},
        };
        for (const auto& [name, make] : screens) {
            for (int zoom : {100, 200, 300}) {
                for (bool contrast : {false, true})
                    QTest::addRow("%s %d%%%s", name, zoom, contrast ? " contrasto" : "") << make << zoom << contrast;
            }
        }
    }

    void noTextIsCramped() {
        QFETCH(std::function<QWidget*()>, make);
        QFETCH(int, zoom);
        QFETCH(bool, contrast);
        TestProgramFolder folder;
        Appearance& appearance = Appearance::install(settingsPath());
        appearance.setZoom(zoom);
        appearance.setHighContrast(contrast);
        std::unique_ptr<QWidget> window(make());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();
        const QStringList cramped = crampedTexts(window.get());
        QVERIFY2(cramped.isEmpty(), qPrintable(cramped.join("; ")));
    }

    // Where a zoomed window does not fit the screen, its elastic band gives up room, down to its least scale, and
    // what lies past the band moves back by as much.
    void zoomedWindowFitsTheScreen_data() {
        QTest::addColumn<int>("extent");
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("available");
        QTest::addColumn<QList<int>>("band"); // from, to, least scale in percent
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QList<int>>("mapped");
        QTest::newRow("fits") << 519 << 3.0 << 2000 << QList<int>{21, 401, 50} << QList<int>{0, 21, 401, 519}
                              << QList<int>{0, 63, 1203, 1557};
        QTest::newRow("reader on a laptop")
            << 519 << 3.0 << 728 << QList<int>{21, 401, 50} << QList<int>{0, 21, 211, 401, 448, 519}
            << QList<int>{0, 63, 219, 374, 515, 728};
        QTest::newRow("band at its least") << 519 << 3.0 << 300 << QList<int>{21, 401, 50}
                                           << QList<int>{0, 21, 401, 519} << QList<int>{0, 63, 253, 607};
        QTest::newRow("whole window") << 286 << 3.0 << 728 << QList<int>{0, 286, 180} << QList<int>{0, 143, 286}
                                      << QList<int>{0, 364, 728};
    }

    void zoomedWindowFitsTheScreen() {
        QFETCH(int, extent);
        QFETCH(double, factor);
        QFETCH(int, available);
        QFETCH(QList<int>, band);
        QFETCH(QList<int>, positions);
        QFETCH(QList<int>, mapped);
        const Zoom::AxisMap axis(extent, factor, available, band[0], band[1], band[2] / 100.0);
        QList<int> actual;
        for (int position : positions)
            actual << axis.map(position);
        QCOMPARE(actual, mapped);
        QCOMPARE(axis.extent(), mapped.last());
    }

    // The settings file: missing, damaged or out of place values give the defaults, and a damaged file is
    // replaced by the next change.
    void settingsRead_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("contrast");
        QTest::newRow("missing") << QByteArray("(manca)") << 100 << false;
        QTest::newRow("kept") << QByteArray("[aspetto]\ningrandimento=225\ncontrasto_elevato=true\n") << 225 << true;
        QTest::newRow("between steps") << QByteArray("[aspetto]\ningrandimento=110\n") << 100 << false;
        QTest::newRow("too large") << QByteArray("[aspetto]\ningrandimento=5000\ncontrasto_elevato=si\n") << 100
                                   << false;
        QTest::newRow("damaged") << QByteArray("\xff\xfe[asp\x00etto\ningrandimento=\"200\n\x01\x02", 30) << 100
                                 << false;
    }

    void settingsRead() {
        QFETCH(QByteArray, content);
        QFETCH(int, zoom);
        QFETCH(bool, contrast);
        TestProgramFolder folder; // a file of its own for each row: QSettings keeps what it read of a path
        const QString file = folder.file(QStringLiteral("%1.ini").arg(QTest::currentDataTag()));
        if (content != "(manca)")
            folder.write(QFileInfo(file).fileName(), content);
        const AppearanceSettings read = AppearanceSettings::read(file);
        QCOMPARE(read.zoom, zoom);
        QCOMPARE(read.highContrast, contrast);
        QVERIFY(bool(AppearanceSettings{275, true}.write(file)));
        QCOMPARE(AppearanceSettings::read(file).zoom, 275);
    }

    // Ctrl+Shift+C switches to light text on black and back to the platform's palette; the choice stays, every
    // change is said without moving the focus, and a frame at least 3 pixels wide in the highlight colour marks
    // the focused control.
    void highContrastFocusFrameAndWhatIsSaid() {
        TestProgramFolder folder;
        const QPalette platform = QApplication::palette();
        SpeechRecorder recorder;
        FrmLetturaGiornali window;
        auto* menu = &window;
        menu->show();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        auto* button = child<QPushButton>(menu, "CmdConfigurazione");
        button->setFocus();

        press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(QApplication::palette().color(QPalette::ButtonText), QColor(Qt::white));
        QVERIFY(frameDrawnAround(menu, button, QColor(255, 255, 0)));
        const QRect other = child(menu, "CmdEsci")->geometry(); // an unfocused button keeps a visible edge
        QCOMPARE(menu->grab().toImage().pixelColor(other.left(), other.center().y()), QColor(Qt::white));
        QVERIFY(AppearanceSettings::read(settingsPath()).highContrast);
        QVERIFY(spoken(recorder, "Contrasto elevato attivato."));

        Appearance::install(settingsPath()); // the next start
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(Qt::black));

        press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
        QCOMPARE(QApplication::palette().color(QPalette::Window), platform.color(QPalette::Window));
        QVERIFY(frameDrawnAround(menu, button, platform.color(QPalette::Highlight)));
        QVERIFY(!AppearanceSettings::read(settingsPath()).highContrast);
        QVERIFY(spoken(recorder, "Contrasto elevato disattivato."));

        press(QKeySequence(Qt::CTRL | Qt::Key_Minus));
        QVERIFY(spoken(recorder, "Ingrandimento già al 100%, la dimensione normale."));
        press(QKeySequence(Qt::CTRL | Qt::Key_Plus));
        QVERIFY(spoken(recorder, "Ingrandimento al 125%."));
        QCOMPARE(QApplication::focusWidget(), button);
    }

private:
    static bool spoken(const SpeechRecorder& recorder, const QString& text) {
        return recorder.notifications().contains(text);
    }

    // The 3 pixels just inside the control's edges, on each side, are of the frame's colour.
    static bool frameDrawnAround(QWidget* window, QWidget* control, const QColor& colour) {
        QApplication::processEvents();
        const QImage image = window->grab().toImage();
        const QRect r = control->geometry();
        const qreal scale = image.devicePixelRatio();
        for (int i = 0; i < FocusFrame::kWidth; ++i) {
            for (const QPoint p : {QPoint(r.left() + i, r.center().y()), QPoint(r.right() - i, r.center().y()),
                                   QPoint(r.center().x(), r.top() + i), QPoint(r.center().x(), r.bottom() - i)}) {
                if (image.pixelColor(p * scale) != colour)
                    return false;
            }
        }
        return true;
    }
};

static int runTests(int argc, char** argv) {
    QTemporaryDir dir;
    QFile screens(dir.filePath("schermo.json"));
    if (!screens.open(QIODevice::WriteOnly) ||
        screens.write(R"({"screens": [{"name": "grande", "width": 3840, "height": 2160, "logicalDpi": 96}]})") < 0)
        return 1;
    screens.close();
    // By a relative name: the platform's arguments are split at every ":", a drive letter's too.
    QDir::setCurrent(dir.path());
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=schermo.json");
    QApplication app(argc, argv);
    TestAppearance test;
    return QTest::qExec(&test, argc, argv);
}

int main(int argc, char** argv) {
    return endTestProgram(runTests(argc, argv));
}

#include "tst_appearance.moc"
