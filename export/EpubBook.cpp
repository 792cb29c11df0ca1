#include "EpubBook.h"

#include "Xml.h"
#include "ZipWriter.h"
#include "platform/FailureReason.h"
#include "platform/WholeFile.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>
#include <QUuid>

namespace {

const QString kXhtmlStart = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\" xml:lang=\"it\" "
    "lang=\"it\">\n<head>\n<meta charset=\"UTF-8\"/>\n<title>%1</title>\n</head>\n<body>\n");

QString sectionFile(int section) {
    return QStringLiteral("sezione-%1.xhtml").arg(section + 1, 3, 10, QLatin1Char('0'));
}

QString articleId(int article) {
    return QStringLiteral("articolo-%1").arg(article + 1);
}

QByteArray container() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
           "<rootfiles>\n<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>\n"
           "</rootfiles>\n</container>\n";
}

QByteArray package(const IssueContent& issue) {
    const QString identifier =
        QUuid::createUuidV5(QUuid(QStringLiteral("{6c1d2f4e-8e0a-4b8a-9a37-2f3c9d1e5b70}")), issue.key)
            .toString(QUuid::WithoutBraces);
    QString opf = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"id\" xml:lang=\"it\">\n"
        "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n");
    opf += QStringLiteral("<dc:identifier id=\"id\">urn:uuid:%1</dc:identifier>\n").arg(identifier);
    opf += QStringLiteral("<dc:title>%1</dc:title>\n").arg(Xml::escaped(issue.title));
    opf += QStringLiteral("<dc:language>it</dc:language>\n");
    opf += QStringLiteral("<dc:creator>%1</dc:creator>\n").arg(Xml::escaped(issue.masthead));
    if (issue.date.isValid())
        opf += QStringLiteral("<dc:date>%1</dc:date>\n").arg(issue.date.toString(Qt::ISODate));
    opf += QStringLiteral("<meta property=\"dcterms:modified\">%1</meta>\n")
               .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
    opf += QStringLiteral("<meta property=\"schema:accessMode\">textual</meta>\n"
                          "<meta property=\"schema:accessModeSufficient\">textual</meta>\n"
                          "<meta property=\"schema:accessibilityFeature\">structuralNavigation</meta>\n"
                          "<meta property=\"schema:accessibilityFeature\">tableOfContents</meta>\n"
                          "<meta property=\"schema:accessibilityHazard\">none</meta>\n"
                          "<meta property=\"schema:accessibilitySummary\">Solo testo: ogni sezione è un titolo di "
                          "primo livello, ogni articolo un titolo di secondo livello; il sommario elenca sezioni e "
                          "articoli.</meta>\n");
    opf += QStringLiteral("</metadata>\n<manifest>\n"
                          "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
                          "properties=\"nav\"/>\n");
    for (int section = 0; section < issue.sections.size(); ++section)
        opf += QStringLiteral("<item id=\"s%1\" href=\"%2\" media-type=\"application/xhtml+xml\"/>\n")
                   .arg(section + 1)
                   .arg(sectionFile(section));
    opf += QStringLiteral("</manifest>\n<spine>\n<itemref idref=\"nav\"/>\n");
    for (int section = 0; section < issue.sections.size(); ++section)
        opf += QStringLiteral("<itemref idref=\"s%1\"/>\n").arg(section + 1);
    opf += QStringLiteral("</spine>\n</package>\n");
    return opf.toUtf8();
}

QByteArray navigation(const IssueContent& issue) {
    QString nav = kXhtmlStart.arg(Xml::escaped(issue.title));
    nav +=
        QStringLiteral("<nav epub:type=\"toc\" id=\"sommario\">\n<h1>%1</h1>\n<ol>\n").arg(Xml::escaped(issue.title));
    for (int s = 0; s < issue.sections.size(); ++s) {
        const IssueContent::Section& section = issue.sections.at(s);
        nav += QStringLiteral("<li><a href=\"%1\">%2</a>\n<ol>\n").arg(sectionFile(s), Xml::escaped(section.name));
        for (int a = 0; a < section.articles.size(); ++a)
            nav += QStringLiteral("<li><a href=\"%1#%2\">%3</a></li>\n")
                       .arg(sectionFile(s), articleId(a), Xml::escaped(section.articles.at(a).title));
        nav += QStringLiteral("</ol>\n</li>\n");
    }
    nav += QStringLiteral("</ol>\n</nav>\n</body>\n</html>\n");
    return nav.toUtf8();
}

QByteArray sectionDocument(const IssueContent::Section& section) {
    QString page = kXhtmlStart.arg(Xml::escaped(section.name));
    page += QStringLiteral("<section>\n<h1>%1</h1>\n").arg(Xml::escaped(section.name));
    for (int a = 0; a < section.articles.size(); ++a) {
        const IssueContent::Article& article = section.articles.at(a);
        page += QStringLiteral("<section id=\"%1\">\n<h2>%2</h2>\n").arg(articleId(a), Xml::escaped(article.title));
        for (const QString& paragraph : article.paragraphs) {
            if (!paragraph.trimmed().isEmpty())
                page += QStringLiteral("<p>%1</p>\n").arg(Xml::escaped(paragraph));
        }
        page += QStringLiteral("</section>\n");
    }
    page += QStringLiteral("</section>\n</body>\n</html>\n");
    return page.toUtf8();
}

} // namespace

namespace EpubBook {

Outcome<> write(const IssueContent& issue, const QString& path, const BookProgress& progress) {
    QSaveFile file(path);
    setSystemError(0);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(file, path);
    ZipWriter zip(file);
    bool written = zip.add(QStringLiteral("mimetype"), "application/epub+zip", ZipWriter::Method::Stored) &&
                   zip.add(QStringLiteral("META-INF/container.xml"), container()) &&
                   zip.add(QStringLiteral("OEBPS/content.opf"), package(issue)) &&
                   zip.add(QStringLiteral("OEBPS/nav.xhtml"), navigation(issue));
    const int articles = issue.articleCount();
    int done = 0;
    for (int s = 0; written && s < issue.sections.size(); ++s) {
        const IssueContent::Section& section = issue.sections.at(s);
        done += static_cast<int>(section.articles.size());
        if (!progress(section.name, done, articles)) {
            file.cancelWriting();
            return Failure{QStringLiteral("esportazione annullata")};
        }
        written = zip.add(QStringLiteral("OEBPS/") + sectionFile(s), sectionDocument(section));
    }
    if (!written || !zip.finish() || !file.commit())
        return cannotWrite(file, path);
    return Success();
}

} // namespace EpubBook
