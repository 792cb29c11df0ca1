#pragma once

#include <QString>

// Where the reader goes once an issue is open: an article, with a stretch of its text selected.
struct ArticleTarget {
    QString indexFile; // the section's index file
    QString code;      // the article's three-character code
    qsizetype offset = 0;
    qsizetype length = 0;
};
