#include "ArticleDocument.h"

#include "NewspaperStructure.h"

#include <QPlainTextDocumentLayout>
#include <QTextDocument>
#include <QThread>
#include <utility>

struct ArticleDocument::Owner {
    explicit Owner(QTextDocument* document) : document(document) {}
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;

    QTextDocument* document;

    ~Owner() {
        if (!document)
            return;
        if (document->thread() == QThread::currentThread())
            delete document;
        else
            document->deleteLater();
    }
};

Outcome<ArticleDocument> ArticleDocument::load(const QString& path, QThread* windowThread) {
    const Outcome<QString> text = NewspaperStructure::CaricaArticolo(path);
    if (!text)
        return Failure{text.reason()};
    ArticleDocument article;
    article.m_breaks = ArticleParagraphs::cut(text.value());
    // No layout and no font yet: both are the window thread's, where fonts are measured.
    auto* document = new QTextDocument;
    article.m_owner = std::make_shared<Owner>(document);
    document->setUndoRedoEnabled(false);
    document->setPlainText(std::exchange(article.m_breaks.text, QString()));
    document->moveToThread(windowThread);
    return article;
}

QTextDocument* ArticleDocument::take() const {
    if (!m_owner)
        return nullptr;
    QTextDocument* document = std::exchange(m_owner->document, nullptr);
    if (document)
        document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    return document;
}
