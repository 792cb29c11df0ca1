#pragma once

#include "IssueContent.h"

#include <QString>
#include <functional>

// What a book being written tells of its progress: the section and the article it has come to, of how many;
// false from it stops the writing.
using BookProgress = std::function<bool(const QString& section, int article, int articles)>;

// The book's file or folder name from the title: characters no file system takes become spaces.
QString bookName(const QString& title);
