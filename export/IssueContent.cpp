#include "IssueContent.h"

#include "reader/ArticleParagraphs.h"
#include "reader/NewspaperStructure.h"
#include "reader/ReaderTitle.h"

namespace {

const QString kUnreadable = QStringLiteral("non si può leggere");
const QString kEmpty = QStringLiteral("nessun articolo");

} // namespace

int IssueContent::articleCount() const {
    int count = 0;
    for (const Section& section : sections)
        count += static_cast<int>(section.articles.size());
    return count;
}

Outcome<IssueContent> IssueContent::read(const QString& folder, const QString& title, const QString& key,
                                         const std::atomic<bool>& cancelled) {
    const Outcome<QList<NewspaperStructure::Section>> found = NewspaperStructure::RilevaStruttura(folder);
    if (!found)
        return Failure{found.reason()};
    IssueContent issue;
    issue.title = title;
    issue.key = key;
    const ReaderTitle::Parts parts = ReaderTitle::partsOf(key);
    issue.masthead = parts.masthead;
    issue.date = parts.date;
    for (const NewspaperStructure::Section& shown : found.value()) {
        const Outcome<QStringList> contents =
            NewspaperStructure::CaricaSommario(NewspaperStructure::sectionIndexPath(folder, shown.indexFile));
        if (!contents) {
            issue.leftOut << QStringLiteral("sezione %1: %2").arg(shown.shownName, kUnreadable);
            continue;
        }
        Section section{shown.shownName, {}};
        for (const QString& line : contents.value()) {
            if (cancelled)
                return Failure{QStringLiteral("esportazione annullata")};
            const Outcome<QString> text =
                NewspaperStructure::CaricaArticolo(NewspaperStructure::articlePath(folder, shown.shownName, line));
            if (!text) {
                issue.leftOut
                    << QStringLiteral("articolo %1 di %2: %3").arg(line.left(3), shown.shownName, kUnreadable);
                continue;
            }
            section.articles.append({line.left(3), line.mid(3).trimmed(),
                                     ArticleParagraphs::cut(text.value()).text.split(QLatin1Char('\n'))});
        }
        if (section.articles.isEmpty())
            issue.leftOut << QStringLiteral("sezione %1: %2").arg(shown.shownName, kEmpty);
        else
            issue.sections.append(section);
    }
    if (issue.sections.isEmpty())
        return Failure{QStringLiteral("il giornale non ha articoli da esportare")};
    return issue;
}

QString leftOutSummary(const QStringList& leftOut) {
    int unreadableSections = 0, emptySections = 0, unreadableArticles = 0;
    for (const QString& item : leftOut) {
        if (item.startsWith(QLatin1String("sezione")))
            ++(item.endsWith(kEmpty) ? emptySections : unreadableSections);
        else
            ++unreadableArticles;
    }
    QStringList parts;
    if (unreadableSections > 0)
        parts << (unreadableSections == 1
                      ? QStringLiteral("1 sezione non leggibile, esclusa")
                      : QStringLiteral("%1 sezioni non leggibili, escluse").arg(unreadableSections));
    if (emptySections > 0)
        parts << (emptySections == 1 ? QStringLiteral("1 sezione senza articoli, esclusa")
                                     : QStringLiteral("%1 sezioni senza articoli, escluse").arg(emptySections));
    if (unreadableArticles > 0)
        parts << (unreadableArticles == 1
                      ? QStringLiteral("1 articolo non leggibile, escluso")
                      : QStringLiteral("%1 articoli non leggibili, esclusi").arg(unreadableArticles));
    return parts.isEmpty() ? QString() : parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}
