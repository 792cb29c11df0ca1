#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// A newspaper the user receives by itself: a masthead and, where the service lists provincial editions, one of
// them, both exactly as the service lists them.
struct Subscription {
    QString masthead;
    QString edition;     // empty: the issue itself, which has no editions
    int keep = 0;        // the newest issues kept in the store; 0 keeps them all
    QDateTime lastCheck; // when the service was last asked
    QString lastIssue;   // the reader's title of the last issue received

    // "Il Corriere della Valle - Nord", or the masthead alone.
    QString shownName() const { return edition.isEmpty() ? masthead : masthead + QStringLiteral(" - ") + edition; }
    bool sameAs(const Subscription& other) const { return masthead == other.masthead && edition == other.edition; }
};

// An issue that arrived by itself, until the user opens it.
struct Arrival {
    QString archive; // the file name in the archive store
    QString title;   // the reader's title
    QDateTime when;
};

// What the program folder keeps of the subscriptions.
struct Subscriptions {
    QList<Subscription> list;
    QList<Arrival> unopened; // newest last
};
