#pragma once

#include "platform/Toolkit.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>

class FrmLeggiGiornale;

// Opening an archive in the reader without stopping the window. The extraction folder is prepared and the archive
// extracted in a worker thread; when that takes more than 300 ms a progress window appears ("Apertura del
// giornale…" with the issue's title and the share of entries done), whose "Annulla" stops the extraction, removes
// what it wrote and returns to the main menu. The extraction's questions (password, overwrite) are asked on the
// window thread. The reader is shown once the extraction is over, with exactly the sections of this archive.
class IssueOpening : public QObject {
    Q_OBJECT

public:
    static constexpr int kQuietMs = 300;

    // Where the reader goes once the issue is open: an article, with a stretch of its text selected.
    struct Target {
        QString indexFile; // the section's index file
        QString code;      // the article's three-character code
        qsizetype offset = 0;
        qsizetype length = 0;
    };

    // Starts opening; a second opening while one runs is not started.
    static void start(const QString& archivePath, const std::optional<Target>& target = std::nullopt);
    static bool isRunning();

private:
    struct Extracted;

    explicit IssueOpening(const QString& archivePath);
    static Extracted extract(const QString& archivePath, const QString& programFolder,
                             std::shared_ptr<std::atomic<bool>> cancelled);
    void showProgress();
    void conclude(const Extracted& extracted);
    void goToTarget(FrmLeggiGiornale& reader) const;

    QString m_archivePath;
    std::optional<Target> m_target;
    QString m_title;
    int m_entries = 0;
    QTimer m_quiet;
    QTimer m_poll;
    std::unique_ptr<Toolkit::Progress> m_window;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};
