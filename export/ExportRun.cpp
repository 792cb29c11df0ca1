#include "ExportRun.h"

#include "DaisyBook.h"
#include "EpubBook.h"
#include "IssueContent.h"

#include <QDir>

namespace ExportRun {

Outcome<Done> run(const Order& order, const std::atomic<bool>& cancelled, const Progress& progress) {
    progress(QStringLiteral("Lettura del giornale…"), 0, 0);
    const Outcome<IssueContent> issue = IssueContent::read(order.issueFolder, order.title, order.key, cancelled);
    if (!issue)
        return Failure{issue.reason()};
    const BookProgress step = [&](const QString& section, int article, int articles) {
        progress(QStringLiteral("Esportazione: %1, articolo %2 di %3").arg(section).arg(article).arg(articles), article,
                 articles);
        return !cancelled.load();
    };
    const QString name = bookName(order.title);
    const QDir target(order.target);
    if (!target.exists())
        return Failure{QStringLiteral("la cartella «%1» non esiste").arg(QDir::toNativeSeparators(order.target))};
    const QString leftOut = leftOutSummary(issue.value().leftOut);
    if (order.format == Format::Epub) {
        const QString book = target.filePath(name + QStringLiteral(".epub"));
        const Outcome<> written = EpubBook::write(issue.value(), book, step);
        if (!written)
            return Failure{written.reason()};
        return Done{QDir::toNativeSeparators(book), leftOut};
    }
    const QString book = target.filePath(name);
    const QString partial = target.filePath(name + QStringLiteral(".parziale"));
    QDir(partial).removeRecursively();
    if (!QDir().mkpath(partial))
        return Failure{QStringLiteral("impossibile creare la cartella «%1»").arg(QDir::toNativeSeparators(partial))};
    const Outcome<> written = DaisyBook::write(issue.value(), partial, QStringLiteral("Lettore giornali"), {}, step);
    if (!written) {
        QDir(partial).removeRecursively();
        return Failure{written.reason()};
    }
    QDir(book).removeRecursively(); // an earlier export of the same issue
    if (!QDir().rename(partial, book)) {
        QDir(partial).removeRecursively();
        return Failure{QStringLiteral("impossibile dare al libro il nome «%1»").arg(QDir::toNativeSeparators(book))};
    }
    return Done{QDir::toNativeSeparators(book), leftOut};
}

} // namespace ExportRun
