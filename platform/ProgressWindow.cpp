#include "ProgressWindow.h"

#include "Controls.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(const QString& label, const QString& title, std::function<void()> cancel)
    : QDialog(QApplication::activeWindow()), m_label(new QLabel(label, this)), m_bar(new QProgressBar(this)),
      m_cancel(std::move(cancel)) {
    setObjectName(QStringLiteral("FinestraAvanzamento"));
    setWindowTitle(title);
    setAccessibleName(title);
    setWindowModality(Qt::ApplicationModal);
    m_label->setWordWrap(true);
    m_bar->setAccessibleName(QStringLiteral("Avanzamento"));
    m_bar->setRange(0, 0);
    auto* annulla = new QPushButton(this);
    annulla->setObjectName(QStringLiteral("Annulla"));
    setCaption(annulla, QStringLiteral("Annulla"));
    connect(annulla, &QPushButton::clicked, this, &ProgressWindow::reject);
    annulla->setVisible(static_cast<bool>(m_cancel));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(annulla, 0, Qt::AlignRight);
    setMinimumWidth(420);
    annulla->setFocus();
}

void ProgressWindow::setProgress(qint64 done, qint64 total) {
    if (total > 0) {
        m_bar->setMaximum(100);
        const int tenths = static_cast<int>(qBound(qint64(0), done * 10 / total, qint64(10)));
        if (m_bar->value() != tenths * 10)
            m_bar->setValue(tenths * 10);
    } else if (m_bar->maximum() != 0) {
        m_bar->setRange(0, 0);
    }
}

void ProgressWindow::setLabel(const QString& label) {
    if (m_label->text() != label)
        m_label->setText(label);
}

// The window goes at once; the owner hears of it from the event loop, so it may destroy this window then.
void ProgressWindow::reject() {
    if (!m_cancel)
        return; // work that cannot be stopped: the window stays until it is done
    hide();
    QMetaObject::invokeMethod(
        this, [this] { m_cancel(); }, Qt::QueuedConnection);
}

ProgressWindowHandle::ProgressWindowHandle(const QString& label, const QString& title, std::function<void()> cancel,
                                           bool measured)
    : m_window(new ProgressWindow(label, title, std::move(cancel))) {
    if (measured)
        m_window->setProgress(0, 1); // before it shows, so the window is announced before any value
    m_window->show();
}

ProgressWindowHandle::~ProgressWindowHandle() {
    m_window->hide();
    m_window->deleteLater(); // a queued cancel that has not run yet goes with it
}

void ProgressWindowHandle::update(qint64 done, qint64 total) {
    m_window->setProgress(done, total);
}

void ProgressWindowHandle::describe(const QString& label) {
    m_window->setLabel(label);
}
