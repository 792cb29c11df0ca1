#pragma once

#include "platform/Outcome.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// An extracted issue's text as the reader shows it, read whole for an export: the sections in the reader's order,
// each with its articles' titles (from the contents lines) and texts (Windows-1252 decoded, lines joined, in the
// reader's paragraphs). A section without articles, or whose index cannot be read, and an article that cannot be
// read are left out and named.
struct IssueContent {
    struct Article {
        QString code; // the three characters that name its file
        QString title;
        QStringList paragraphs;
    };
    struct Section {
        QString name;
        QList<Article> articles;
    };

    QString title;    // "La Gazzetta del Borgo di martedì 8 dicembre 2026"
    QString key;      // the archive's base name, which names the issue for good
    QString masthead; // "La Gazzetta del Borgo"
    QDate date;
    QList<Section> sections;
    QStringList leftOut; // "sezione Sport: non si può leggere", "sezione Meteo: nessun articolo"

    int articleCount() const;

    // Reads the folder; a folder that cannot be listed, or holds no readable article, fails with its reason. A
    // cancel ends the reading at the next article.
    static Outcome<IssueContent> read(const QString& folder, const QString& title, const QString& key,
                                      const std::atomic<bool>& cancelled);
};

// The closing words for what was left out: "1 sezione non leggibile, esclusa." and the like; empty when nothing was.
QString leftOutSummary(const QStringList& leftOut);
