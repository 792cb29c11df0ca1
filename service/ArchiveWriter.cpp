#include "ArchiveWriter.h"

#include "platform/FailureReason.h"
#include "platform/Worker.h"

#include <QDir>
#include <QSaveFile>
#include <QThread>

ArchiveWriter* ArchiveWriter::start(const QString& target) {
    auto* thread = new QThread;
    thread->setObjectName(QStringLiteral("Salvataggio archivio"));
    auto* writer = new ArchiveWriter(target);
    writer->moveToThread(thread);
    connect(thread, &QThread::started, writer, &ArchiveWriter::open);
    connect(thread, &QThread::finished, writer, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return writer;
}

ArchiveWriter::ArchiveWriter(const QString& target) : m_target(target) {}

ArchiveWriter::~ArchiveWriter() = default; // a file never stored is dropped here, in the writer's thread

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
    m_file = std::make_unique<QSaveFile>(m_target);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_broken = true;
        emit failed(failure(lastSystemError()));
    }
}

void ArchiveWriter::writeNow(const QByteArray& chunk) {
    if (!m_broken && m_file->write(chunk) != chunk.size()) {
        m_broken = true;
        emit failed(failure(lastSystemError()));
    }
    m_pending -= chunk.size();
    emit written();
}

void ArchiveWriter::storeNow() {
    if (m_broken) {
        finish();
        return;
    }
    const bool committed = m_file->commit();
    const Outcome<> outcome = committed ? Success() : Failure{failure(lastSystemError())};
    finish();
    emit stored(outcome);
}

void ArchiveWriter::finish() {
    m_file.reset();
    thread()->quit();
}

QString ArchiveWriter::failure(int code) const {
    return QStringLiteral("impossibile scrivere «%1»: %2")
        .arg(QDir::toNativeSeparators(m_target), failureReason(*m_file, code));
}
