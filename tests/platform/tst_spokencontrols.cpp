#include "platform/AccessibleLineEdit.h"
#include "platform/Controls.h"
#include "platform/ProgressWindow.h"
#include "platform/QtToolkit.h"
#include "support/Screens.h"
#include "support/SpeechRecorder.h"
#include "support/TestMain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

// The platform's controls as a screen reader hears them.
class TestSpokenControls : public QObject {
    Q_OBJECT

    struct Window {
        QWidget widget;
        QComboBox* list = new QComboBox;
        QLineEdit* user = new QLineEdit;
        QLineEdit* password = new QLineEdit;
        QPushButton* button = new QPushButton;

        Window() {
            auto* layout = new QVBoxLayout(&widget);
            for (QWidget* control : std::initializer_list<QWidget*>{list, user, password, button})
                layout->addWidget(control);
            nameList(list, "Sezioni");
            list->addItems({"Prima-pagina", "Cronaca", "Politica", "Sport"});
            for (QLineEdit* field : {user, password})
                selectAllOnFocus(field);
            user->setText("demo");
            password->setText("segreta");
            setCaption(button, "&Avanti");
            widget.show();
            if (!QTest::qWaitForWindowActive(&widget))
                qWarning("window not active");
        }
    };

    // What a screen reader says, and a braille display shows, after a list's name and role when the list takes
    // the focus: through UI Automation its description; through AT-SPI its text, which Orca takes as its value.
    static QString saidOnFocus(QComboBox* list) {
#ifdef Q_OS_WIN
        return list->accessibleDescription();
#else
        QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(list)->textInterface();
        return text ? text->text(0, text->characterCount()) : QString();
#endif
    }

private slots:
    void initTestCase() {
        installAccessibleLineEdit();
    }

    void aListSpeaksEachNewEntryWithItsPosition_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QStringList>("spoken");
        QTest::newRow("down, down, up") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}
                                        << QStringList{"Cronaca, 2 di 4", "Politica, 3 di 4", "Cronaca, 2 di 4"};
        QTest::newRow("end, home") << QList<int>{Qt::Key_End, Qt::Key_Home}
                                   << QStringList{"Sport, 4 di 4", "Prima-pagina, 1 di 4"};
        QTest::newRow("first letter") << QList<int>{Qt::Key_S} << QStringList{"Sport, 4 di 4"};
        QTest::newRow("up at the top says nothing") << QList<int>{Qt::Key_Up} << QStringList{};
    }

    void aListSpeaksEachNewEntryWithItsPosition() {
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, spoken);
        Window window;
        window.list->setFocus();
        QCOMPARE(saidOnFocus(window.list), QString("Prima-pagina, 1 di 4"));
        SpeechRecorder recorder;
        for (int key : keys)
            QTest::keyClick(window.list, Qt::Key(key));
#ifdef Q_OS_WIN
        // UI Automation reports the list's new value itself; its description, read with it, has the position.
        QStringList told;
        for (const SpeechRecorder::Event& event : recorder.events()) {
            if (event.type == QAccessible::ValueChanged && event.object == window.list)
                told << event.value + ", " + event.description.section(", ", 1);
        }
        QCOMPARE(told, spoken);
#else
        // (Qt's own search moves the popup's current entry too, without the position.)
        QCOMPARE(recorder.focusSpoken().filter(" di "), spoken);
        for (const SpeechRecorder::Event& event : recorder.events()) {
            if (event.type == QAccessible::Focus)
                QCOMPARE(event.object.data(), window.list->view());
        }
#endif
        QCOMPARE(saidOnFocus(window.list),
                 window.list->currentIndex() == 0 ? QString("Prima-pagina, 1 di 4") : spoken.last());
        // Once opened, the popup reads its other entries as they show.
        QAccessibleInterface* popup = QAccessible::queryAccessibleInterface(window.list->view());
        for (int i = 0; i < popup->childCount(); ++i) {
            if (i != window.list->currentIndex())
                QCOMPARE(popup->child(i)->text(QAccessible::Name), window.list->itemText(i));
        }
    }

    void aListChangedWithoutTheFocusSaysNothing() {
        Window window;
        window.user->setFocus();
        SpeechRecorder recorder;
        window.list->setCurrentIndex(2);
        window.list->clear();
        QCOMPARE(recorder.focusSpoken(), QStringList());
        QCOMPARE(saidOnFocus(window.list), QString("elenco vuoto"));
    }

    // Name and role, then the whole value, selected, once: no selection is reported on the way in or out.
    void aFieldIsReadWholeAndOnce() {
        Window window;
        window.user->setFocus();
        SpeechRecorder recorder;
        QTest::keyClick(window.user, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.password);
        QList<QAccessible::Event> kinds;
        for (const SpeechRecorder::Event& event : recorder.events())
            kinds << event.type;
        QVERIFY(!kinds.contains(QAccessible::TextSelectionChanged));
        QCOMPARE(window.password->selectedText(), QString("segreta"));
        QCOMPARE(window.password->cursorPosition(), 0);
        QCOMPARE(window.user->selectedText(), QString("demo")); // kept when the focus left
#ifndef Q_OS_WIN                                                // Orca reads a line as the sum of its attribute runs
        int start = -1, end = -1;
        QAccessible::queryAccessibleInterface(window.user)->textInterface()->attributes(2, &start, &end);
        QCOMPARE((QList<int>{start, end}), (QList<int>{0, 4})); // one run: a reader's line is the whole value
#endif
    }

    // A masked field gives nothing away, yet assistive tools can still type into it and set its contents.
    void aMaskedFieldShowsNothingAndStillTakesText() {
        Window window;
        window.password->setEchoMode(QLineEdit::Password);
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(window.password);
        QAccessibleTextInterface* text = field->textInterface();
        QVERIFY(!text->text(0, text->characterCount()).contains("segreta"));
        QVERIFY(!field->text(QAccessible::Value).contains("segreta"));
        QVERIFY(field->state().passwordEdit);
        field->editableTextInterface()->replaceText(0, text->characterCount(), "nuova");
        QCOMPARE(window.password->text(), QString("nuova"));
    }

    void enterAndSpacePressAButton() {
        Window window;
        QSignalSpy clicked(window.button, &QPushButton::clicked);
        window.button->setFocus();
        QTest::keyClick(window.button, Qt::Key_Return);
        QTest::keyClick(window.button, Qt::Key_Enter);
        QTest::keyClick(window.button, Qt::Key_Space);
        QCOMPARE(clicked.count(), 3);
        QCOMPARE(window.button->accessibleName(), QString("Avanti"));
    }

    void theProgressIsToldInTenthsAndEscCancels() {
        QtToolkit toolkit;
        SpeechRecorder recorder;
        bool cancelled = false;
        const auto progress =
            toolkit.showProgress("Scaricamento di «La Gazzetta» in corso…", "Scaricamento", [&] { cancelled = true; });
        auto* dialog = qobject_cast<ProgressWindow*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* bar = dialog->findChild<QProgressBar*>();
        QCOMPARE(bar->accessibleName(), QString("Avanzamento"));
        QList<int> values;
        for (qint64 done = 0; done <= 1000; done += 7) {
            progress->update(done, 1000);
            if (values.isEmpty() || values.last() != bar->value())
                values << bar->value();
        }
        progress->update(1000, 1000);
        QCOMPARE(values, (QList<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
        QCOMPARE(bar->value(), 100);
        int told = 0;
        for (const SpeechRecorder::Event& event : recorder.events())
            told += event.type == QAccessible::ValueChanged && event.object == bar;
        QVERIFY2(told <= 11, qPrintable(QString::number(told)));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible() && !cancelled); // told from the event loop, never inside a key handler
        QTRY_VERIFY(cancelled);
    }

    // A box's text reaches a braille display with its title: through AT-SPI as the box's name, which Orca shows
    // (and says once); through UI Automation the text is read by itself.
    void aBoxShowsItsTextWithItsTitle() {
        QtToolkit toolkit;
        QWidget window;
        window.show();
        bool answered = false;
        toolkit.confirm(&window, "Eliminare il giornale?\nNon si potrà riaprire.", "Giornali scaricati",
                        [&](bool) { answered = true; });
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
#ifdef Q_OS_WIN
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name), QString("Giornali scaricati"));
#else
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name),
                 QString("Giornali scaricati: Eliminare il giornale? Non si potrà riaprire."));
#endif
        QCOMPARE(box->windowTitle(), QString("Giornali scaricati"));
        box->reject();
        QVERIFY(answered);
    }

    // A question asked while a wait is up (a password while an issue opens) is never under the wait window.
    void aBoxAskedDuringAWaitStandsAboveIt() {
        QtToolkit toolkit;
        QWidget window;
        window.show();
        const auto wait = toolkit.showWait("Apertura del giornale…", "Apertura", [] {});
        auto* waitWindow = qobject_cast<ProgressWindow*>(QApplication::activeModalWidget());
        QVERIFY(waitWindow && waitWindow->isVisible());
        QString answer = "nessuna";
        toolkit.askText(&window, "Password:", "Apertura", [&](const QString& text) { answer = text; });
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(box && box->isVisible() && !waitWindow->isVisible());
        QCOMPARE(box->parentWidget(), &window);
        box->setTextValue("segreta");
        box->accept();
        QCOMPARE(answer, QString("segreta"));
        QVERIFY(waitWindow->isVisible());
    }
};

GIORNALI_TEST_MAIN(TestSpokenControls)
#include "tst_spokencontrols.moc"
