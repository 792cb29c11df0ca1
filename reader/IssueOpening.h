#pragma once

#include "ArticleTarget.h"
#include "platform/Outcome.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>

class DelayedProgress;

// Opening an archive in the reader without stopping the window. The extraction folder is prepared and the archive
// extracted in a worker thread; when that takes more than 300 ms a progress window appears ("Apertura del
// giornale…" with the issue's title and the share of entries done), whose "Annulla" stops the extraction, removes
// what it wrote and returns to the main menu. The extraction's questions (password, overwrite) are asked on the
// window thread. The reader is shown once the extraction is over, with exactly the sections of this archive, under
// the title given. Every failure is said, with its reason, over the main menu.
class IssueOpening : public QObject {
    Q_OBJECT

public:
    // Starts opening; a second opening while one runs (its boxes included) is not started.
    static void start(const QString& archivePath, const QString& title,
                      const std::optional<ArticleTarget>& target = std::nullopt);
    static bool isRunning();

private:
    struct Extracted;

    IssueOpening(const QString& archivePath, const QString& title, const std::optional<ArticleTarget>& target);
    static Outcome<Extracted> extract(const QString& archivePath, const QString& programFolder,
                                      std::shared_ptr<std::atomic<int>> entries,
                                      std::shared_ptr<std::atomic<bool>> cancelled);
    void cancel();
    void releaseWindows();
    void conclude(const Outcome<Extracted>& extracted);
    void fail(const QString& text);
    void showReader(const QString& folder);
    void end();

    QString m_archivePath;
    QString m_title;
    std::optional<ArticleTarget> m_target;
    std::shared_ptr<std::atomic<int>> m_entries = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<bool>> m_cancelled = std::make_shared<std::atomic<bool>>(false);
    DelayedProgress* m_progress;
    QTimer m_poll;
};
