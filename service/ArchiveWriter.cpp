#include "ArchiveWriter.h"

#include "platform/FailureReason.h"
#include "platform/Worker.h"

#include <QDir>
#include <QSaveFile>
#include <QThread>

ArchiveWriter* ArchiveWriter::create(const QString& target) {
    auto* thread = new QThread;
    thread->setObjectName(QStringLiteral("Salvataggio archivio"));
    auto* writer = new ArchiveWriter(target, QThread::currentThread());
    writer->moveToThread(thread);
    connect(thread, &QThread::started, writer, &ArchiveWriter::open);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    return writer;
}

void ArchiveWriter::start() {
    handOver();
    thread()->start();
}

ArchiveWriter::ArchiveWriter(const QString& target, QThread* home) : m_target(target), m_home(home) {}

// In the caller's thread, after finish() in the writer's: what the writer's thread wrote was handed over.
ArchiveWriter::~ArchiveWriter() {
    takeOver();
}

void ArchiveWriter::write(const QByteArray& chunk) {
    m_pending += chunk.size();
    postTo(this, [this, chunk] { writeNow(chunk); });
}

void ArchiveWriter::store() {
    postTo(this, [this] { storeNow(); });
}

void ArchiveWriter::discard() {
    postTo(this, [this] { finish(); });
}

void ArchiveWriter::open() {
    takeOver();
    m_file = std::make_unique<QSaveFile>(m_target);
    if (!m_file->open(QIODevice::WriteOnly))
        breakDown(lastSystemError());
}

void ArchiveWriter::writeNow(const QByteArray& chunk) {
    if (!m_broken && m_file->write(chunk) != chunk.size())
        breakDown(lastSystemError());
    m_pending -= chunk.size();
    emit written();
}

void ArchiveWriter::storeNow() {
    Outcome<> outcome = Failure{m_failure};
    if (!m_broken && m_file->commit())
        outcome = Success();
    else if (!m_broken)
        outcome = Failure{failure(lastSystemError())};
    m_file.reset();
    emit stored(outcome); // before finish(): from then on the writer may be deleted at any moment
    finish();
}

// The file goes (a file never stored is dropped here), the thread ends, and the writer goes back to the caller's
// thread to be deleted there.
void ArchiveWriter::finish() {
    m_file.reset();
    QThread* own = thread();
    moveToThread(m_home);
    handOver();
    deleteLater();
    own->quit();
}

// The rest goes unwritten; the reason is said now, and again at the end of store().
void ArchiveWriter::breakDown(int code) {
    m_broken = true;
    m_failure = failure(code);
    emit failed(m_failure);
}

QString ArchiveWriter::failure(int code) const {
    return QStringLiteral("impossibile scrivere «%1»: %2")
        .arg(QDir::toNativeSeparators(m_target), failureReason(*m_file, code));
}
