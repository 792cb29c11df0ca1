#include "FrmEsporta.h"

#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/DelayedProgress.h"
#include "platform/KeyGuide.h"
#include "platform/SettingsFile.h"
#include "platform/Toolkit.h"
#include "platform/Twips.h"
#include "platform/Worker.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

namespace {

const QString kTitle = QStringLiteral("Esporta giornale");
const QString kFolderKey = QStringLiteral("esportazione/cartella");

constexpr int kMargin = 120;
constexpr int kFieldLeft = 1560;
constexpr int kWidth = 7200;
constexpr int kRowHeight = 315;
constexpr int kRowStep = 480;
constexpr int kButtonWidth = 1700;
constexpr int kButtonHeight = 375;
constexpr int kButtonTop = kMargin + 2 * kRowStep + 60;

QLabel* caption(QWidget* window, QWidget* field, const QString& text, int row) {
    auto* label = new QLabel(text, window);
    label->setBuddy(field);
    label->setGeometry(twipsRect(kMargin, kMargin + row * kRowStep, kFieldLeft - 2 * kMargin, kRowHeight));
    field->setGeometry(twipsRect(kFieldLeft, kMargin + row * kRowStep, kWidth - kMargin - kFieldLeft, kRowHeight));
    return label;
}

QPushButton* button(QWidget* window, const char* name, const QString& text, int column) {
    auto* b = new QPushButton(window);
    b->setObjectName(QLatin1String(name));
    setCaption(b, text);
    b->setGeometry(
        twipsRect(kWidth - (3 - column) * (kButtonWidth + kMargin), kButtonTop, kButtonWidth, kButtonHeight));
    return b;
}

} // namespace

FrmEsporta::FrmEsporta(QWidget* over, const ExportRun::Order& issue, const QString& settingsFile)
    : QDialog(over), m_format(new QComboBox(this)), m_folder(new QLineEdit(this)), m_order(issue),
      m_settingsFile(settingsFile) {
    setObjectName(QStringLiteral("FrmEsporta"));
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setFixedSize(twips(kWidth), twips(kButtonTop + kButtonHeight + kMargin));

    m_format->setObjectName(QStringLiteral("CboFormato"));
    nameList(m_format, QStringLiteral("Formato"));
    m_format->addItem(QStringLiteral("EPUB"), static_cast<int>(ExportRun::Format::Epub));
    m_format->addItem(QStringLiteral("DAISY con voce"), static_cast<int>(ExportRun::Format::DaisyVoice));
    m_format->addItem(QStringLiteral("DAISY solo testo"), static_cast<int>(ExportRun::Format::DaisyText));
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == m_format) {
            label->setText(QStringLiteral("&Formato"));
            label->setGeometry(twipsRect(kMargin, kMargin, kFieldLeft - 2 * kMargin, kRowHeight));
            label->show();
        }
    }
    m_format->setGeometry(twipsRect(kFieldLeft, kMargin, kWidth - kMargin - kFieldLeft, kRowHeight));

    m_folder->setObjectName(QStringLiteral("TxtCartella"));
    m_folder->setReadOnly(true);
    m_folder->setFocusPolicy(Qt::NoFocus); // said with the button that changes it
    m_folder->setAccessibleName(QStringLiteral("Cartella"));
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(documents).exists())
        documents = QDir::homePath();
    m_folder->setText(QSettings(settingsFile, QSettings::IniFormat).value(kFolderKey, documents).toString());
    caption(this, m_folder, QStringLiteral("Cartella"), 1);

    QPushButton* choose = button(this, "CmdCartella", QStringLiteral("&Cambia cartella…"), 0);
    QPushButton* esporta = button(this, "CmdEsporta", QStringLiteral("&Esporta"), 1);
    QPushButton* annulla = button(this, "CmdAnnulla", QStringLiteral("Annulla"), 2);
    esporta->setDefault(true);
    // The folder in the button's name, so the braille display shows it as speech says it.
    const auto nameChoose = [choose](const QString& folder) {
        choose->setAccessibleName(QStringLiteral("Cambia cartella…, ora %1").arg(QDir::toNativeSeparators(folder)));
    };
    nameChoose(m_folder->text());
    connect(m_folder, &QLineEdit::textChanged, choose, nameChoose);
    connect(choose, &QPushButton::clicked, this, &FrmEsporta::chooseFolder);
    connect(esporta, &QPushButton::clicked, this, &FrmEsporta::start);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    addKeyGuide(this, QStringLiteral("Tasti di Esporta giornale"),
                {QStringLiteral("Frecce: scelgono il formato: EPUB, DAISY con voce (il testo con l'audio, "
                                "letto con la voce e la velocità scelte in Voce), o DAISY solo testo."),
                 QStringLiteral("Alt+C: sceglie la cartella dove scrivere il libro."),
                 QStringLiteral("Alt+E o Invio: esporta; la finestra si chiude e l'esportazione continua accanto "
                                "al lettore, con Annulla nell'attesa."),
                 QStringLiteral("Esc: chiude senza esportare."), QStringLiteral("F1: questa guida.")});
    m_format->setFocus();
}

FrmEsporta* FrmEsporta::choose(QWidget* over, const ExportRun::Order& issue, const QString& settingsFile) {
    auto* window = new FrmEsporta(over, issue, settingsFile);
    window->open();
    return window;
}

void FrmEsporta::chooseFolder() {
    Toolkit::current().chooseFolder(this, m_folder->text(), QStringLiteral("Cartella dell'esportazione"),
                                    [this](const std::optional<QString>& folder) {
                                        if (folder)
                                            m_folder->setText(*folder);
                                    });
}

void FrmEsporta::start() {
    m_order.target = m_folder->text();
    m_order.format = static_cast<ExportRun::Format>(m_format->currentData().toInt());
    m_order.voice = VoiceSettings::read(m_settingsFile);
    // A folder that cannot be kept is asked again next time; the export goes on.
    (void)writeSettings(m_settingsFile, {{kFolderKey, m_order.target}});
    QWidget* window = parentWidget();
    const ExportRun::Order order = m_order;
    accept();
    startExport(window, order);
}

namespace {

constexpr int kBackFromWaitMs = 500; // for the desktop to give the focus back once the wait's window has gone

// Where the user is, else in the window the export was asked from; never in the wait's window, which is going.
void sayEnd(QWidget* window, const QString& text) {
    const QWidget* active = QApplication::activeWindow();
    if (active && active->objectName() != QLatin1String("FinestraAvanzamento") && sayWhereTheUserIs(text))
        return;
    if (!window) {
        sayWhereTheUserIs(text);
        return;
    }
    if (auto* status = window->findChild<Announcer*>())
        status->say(text);
    else
        sayWhereTheUserIs(text);
}

// Once the wait's window, when it showed, has gone and the user is back where the export was asked.
void sayEndLater(const DelayedProgress& wait, QWidget* window, const QString& text) {
    if (!wait.isShown()) {
        sayEnd(window, text);
        return;
    }
    QTimer::singleShot(kBackFromWaitMs, qApp, [window = QPointer<QWidget>(window), text] { sayEnd(window, text); });
}

} // namespace

void startExport(QWidget* window, const ExportRun::Order& order) {
    struct Shared {
        std::atomic<bool> cancelled = false;
    };
    auto shared = std::make_shared<Shared>();
    // The wait belongs to no window: the export goes on, and its end is said, when the window it was asked from
    // closes meanwhile.
    auto* wait = new DelayedProgress(QStringLiteral("Esportazione…"), kTitle, [shared] { shared->cancelled = true; });
    QPointer<DelayedProgress> progress(wait);
    // A program that quits stops the export, and its voice processes with it; nothing is left at the book's name.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, wait, [shared] { shared->cancelled = true; });
    runInWorker(
        wait,
        [order, shared, progress] {
            int shownPercent = -1;
            return ExportRun::run(order, shared->cancelled, [&](const QString& text, int done, int total) {
                // At most a hundred steps reach the window, each with its words and its share.
                const int percent = total > 0 ? static_cast<int>(qint64(done) * 100 / total) : -1;
                if (percent == shownPercent && percent >= 0)
                    return;
                shownPercent = percent;
                postTo(qApp, [progress, text, done, total] {
                    if (!progress)
                        return;
                    progress->describe(text);
                    progress->update(done, total);
                });
            });
        },
        [wait, window = QPointer<QWidget>(window), shared,
         target = order.target](const Outcome<ExportRun::Done>& done) {
            wait->deleteLater();
            if (!done && shared->cancelled) {
                sayEndLater(*wait, window, QStringLiteral("Esportazione annullata: nulla è stato scritto."));
                return;
            }
            if (!done) {
                Toolkit::current().message(
                    window, withReason(QStringLiteral("Il giornale non è stato esportato."), done.reason()), kTitle,
                    Toolkit::Icon::Stop);
                return;
            }
            const QString said = QStringLiteral("Giornale esportato in %1.").arg(QDir::toNativeSeparators(target));
            sayEndLater(*wait, window,
                        done.value().leftOut.isEmpty() ? said : said + QLatin1Char(' ') + done.value().leftOut);
        });
}
