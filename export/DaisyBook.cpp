#include "DaisyBook.h"

#include "Xml.h"
#include "platform/WholeFile.h"
#include "reader/Sentences.h"

#include <QDir>
#include <QUuid>
#include <cmath>

namespace {

struct Spoken {
    QString text;
    QString id; // in content.html
};

// "hh:mm:ss" of NCC and SMIL metadata.
QString clockTime(double seconds) {
    const qint64 whole = std::llround(seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600, 2, 10, QLatin1Char('0'))
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString npt(double seconds) {
    return QStringLiteral("npt=%1s").arg(seconds, 0, 'f', 3);
}

// The article's sentences as the voice reads them.
QStringList sentencesOf(const IssueContent::Article& article) {
    const QString text = article.paragraphs.join(QLatin1Char(' '));
    QStringList sentences;
    for (const Sentences::Span& span : Sentences::split(text))
        sentences << text.mid(span.start, span.length);
    return sentences;
}

// What is said of the article, in order, each with its place in content.html: the issue's title before the first
// article, the section's name before a section's first, the article's title, its sentences.
QList<Spoken> spokenOf(const IssueContent& issue, int section, int article) {
    QList<Spoken> spoken;
    if (section == 0 && article == 0)
        spoken.append({issue.title + QLatin1Char('.'), QStringLiteral("titolo")});
    if (article == 0)
        spoken.append({QStringLiteral("Sezione %1.").arg(issue.sections.at(section).name),
                       QStringLiteral("s%1").arg(section + 1)});
    const QString prefix = QStringLiteral("s%1a%2").arg(section + 1).arg(article + 1);
    spoken.append({issue.sections.at(section).articles.at(article).title + QLatin1Char('.'), prefix});
    const QStringList sentences = sentencesOf(issue.sections.at(section).articles.at(article));
    for (int i = 0; i < sentences.size(); ++i)
        spoken.append({sentences.at(i), QStringLiteral("%1f%2").arg(prefix).arg(i + 1)});
    return spoken;
}

int indexOf(const QList<Spoken>& spoken, const QString& id) {
    for (int i = 0; i < spoken.size(); ++i) {
        if (spoken.at(i).id == id)
            return i;
    }
    return 0;
}

const QString kXhtmlHead =
    QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                   "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                   "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
                   "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"it\" xml:lang=\"it\">\n<head>\n"
                   "<meta http-equiv=\"Content-type\" content=\"text/html; charset=utf-8\"/>\n<title>%1</title>\n");

Outcome<> save(const QString& path, const QString& text) {
    return writeWholeFile(path, text.toUtf8());
}

} // namespace

namespace DaisyBook {

QStringList utterances(const IssueContent& issue, int section, int article) {
    QStringList said;
    for (const Spoken& spoken : spokenOf(issue, section, article))
        said << spoken.text;
    return said;
}

QString articleFile(int number, const QString& suffix) {
    return QStringLiteral("a%1.%2").arg(number, 5, 10, QLatin1Char('0')).arg(suffix);
}

Outcome<> write(const IssueContent& issue, const QString& folder, const QString& narrator,
                const QList<ArticleAudio>& audio, const BookProgress& progress) {
    const int articles = issue.articleCount();
    QString content = kXhtmlHead.arg(Xml::escaped(issue.title)) + QStringLiteral("</head>\n<body>\n");
    content += QStringLiteral("<h1 id=\"titolo\">%1</h1>\n").arg(Xml::escaped(issue.title));
    QString headings;
    double total = 0;
    int number = 0;
    int files = 2; // ncc.html, content.html
    for (int s = 0; s < issue.sections.size(); ++s) {
        const IssueContent::Section& section = issue.sections.at(s);
        for (int a = 0; a < section.articles.size(); ++a) {
            ++number;
            if (!progress(section.name, number, articles))
                return Failure{QStringLiteral("esportazione annullata")};
            const QList<Spoken> spoken = spokenOf(issue, s, a);
            const ArticleAudio* sound = number <= audio.size() ? &audio.at(number - 1) : nullptr;
            if (sound)
                ++files;
            QString pars;
            double smilTime = 0;
            for (int u = 0; u < spoken.size(); ++u) {
                pars +=
                    QStringLiteral("<par endsync=\"last\" id=\"p%1\">\n<text src=\"content.html#%2\" id=\"t%1\"/>\n")
                        .arg(u + 1)
                        .arg(spoken.at(u).id);
                if (sound) {
                    const auto [begin, end] = sound->clips.value(u);
                    pars += QStringLiteral("<audio src=\"%1\" clip-begin=\"%2\" clip-end=\"%3\" id=\"c%4\"/>\n")
                                .arg(sound->file, npt(begin), npt(end))
                                .arg(u + 1);
                    smilTime = std::max(smilTime, end);
                }
                pars += QStringLiteral("</par>\n");
            }
            const QString title = section.articles.at(a).title;
            const QString smil =
                QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE smil PUBLIC \"-//W3C//DTD SMIL "
                               "1.0//EN\" \"http://www.w3.org/TR/REC-smil/SMIL10.dtd\">\n<smil>\n<head>\n"
                               "<meta name=\"dc:format\" content=\"Daisy 2.02\"/>\n"
                               "<meta name=\"dc:title\" content=\"%1\"/>\n"
                               "<meta name=\"ncc:totalElapsedTime\" content=\"%2\"/>\n"
                               "<meta name=\"ncc:timeInThisSmil\" content=\"%3\"/>\n"
                               "<layout>\n<region id=\"txtView\"/>\n</layout>\n</head>\n<body>\n<seq dur=\"%4s\">\n")
                    .arg(Xml::escaped(title), clockTime(total), clockTime(smilTime))
                    .arg(smilTime, 0, 'f', 3) +
                pars + QStringLiteral("</seq>\n</body>\n</smil>\n");
            total += smilTime;
            ++files;
            const QString smilName = articleFile(number, QStringLiteral("smil"));
            if (const Outcome<> saved = save(folder + QLatin1Char('/') + smilName, smil); !saved)
                return saved;

            const QString prefix = QStringLiteral("s%1a%2").arg(s + 1).arg(a + 1);
            const auto link = [&](const QString& id) {
                return QStringLiteral("%1#p%2").arg(smilName).arg(indexOf(spoken, id) + 1);
            };
            if (s == 0 && a == 0)
                headings += QStringLiteral("<h1 class=\"title\" id=\"ncc-titolo\"><a href=\"%1\">%2</a></h1>\n")
                                .arg(link(QStringLiteral("titolo")), Xml::escaped(issue.title));
            if (a == 0) {
                const QString id = QStringLiteral("s%1").arg(s + 1);
                headings += QStringLiteral("<h1 id=\"ncc-%1\"><a href=\"%2\">%3</a></h1>\n")
                                .arg(id, link(id), Xml::escaped(section.name));
                content += QStringLiteral("<h1 id=\"%1\">%2</h1>\n").arg(id, Xml::escaped(section.name));
            }
            headings += QStringLiteral("<h2 id=\"ncc-%1\"><a href=\"%2\">%3</a></h2>\n")
                            .arg(prefix, link(prefix), Xml::escaped(title));
            content += QStringLiteral("<h2 id=\"%1\">%2</h2>\n<p>").arg(prefix, Xml::escaped(title));
            for (const Spoken& said : spoken) {
                if (said.id.startsWith(prefix + QLatin1Char('f')))
                    content += QStringLiteral("<span id=\"%1\">%2</span> ").arg(said.id, Xml::escaped(said.text));
            }
            content += QStringLiteral("</p>\n");
        }
    }
    content += QStringLiteral("</body>\n</html>\n");
    if (const Outcome<> saved = save(folder + QStringLiteral("/content.html"), content); !saved)
        return saved;

    const QString identifier =
        QUuid::createUuidV5(QUuid(QStringLiteral("{6c1d2f4e-8e0a-4b8a-9a37-2f3c9d1e5b70}")), issue.key)
            .toString(QUuid::WithoutBraces);
    const int tocItems = 1 + static_cast<int>(issue.sections.size()) + articles;
    QString ncc = kXhtmlHead.arg(Xml::escaped(issue.title));
    const auto meta = [&ncc](const QString& name, const QString& value, const QString& scheme = {}) {
        ncc += QStringLiteral("<meta name=\"%1\" content=\"%2\"%3/>\n")
                   .arg(name, Xml::escaped(value),
                        scheme.isEmpty() ? QString() : QStringLiteral(" scheme=\"%1\"").arg(scheme));
    };
    meta(QStringLiteral("dc:title"), issue.title);
    meta(QStringLiteral("dc:creator"), issue.masthead);
    if (issue.date.isValid())
        meta(QStringLiteral("dc:date"), issue.date.toString(Qt::ISODate), QStringLiteral("yyyy-mm-dd"));
    meta(QStringLiteral("dc:format"), QStringLiteral("Daisy 2.02"));
    meta(QStringLiteral("dc:identifier"), QStringLiteral("urn:uuid:") + identifier);
    meta(QStringLiteral("dc:language"), QStringLiteral("it"), QStringLiteral("ISO 639"));
    meta(QStringLiteral("dc:publisher"), issue.masthead);
    meta(QStringLiteral("ncc:charset"), QStringLiteral("utf-8"));
    meta(QStringLiteral("ncc:depth"), QStringLiteral("2"));
    meta(QStringLiteral("ncc:files"), QString::number(files));
    meta(QStringLiteral("ncc:generator"), QStringLiteral("Lettore giornali"));
    meta(QStringLiteral("ncc:maxPageNormal"), QStringLiteral("0"));
    meta(QStringLiteral("ncc:multimediaType"),
         !audio.isEmpty() ? QStringLiteral("audioFullText") : QStringLiteral("textNcc"));
    meta(QStringLiteral("ncc:narrator"), narrator);
    meta(QStringLiteral("ncc:pageFront"), QStringLiteral("0"));
    meta(QStringLiteral("ncc:pageNormal"), QStringLiteral("0"));
    meta(QStringLiteral("ncc:pageSpecial"), QStringLiteral("0"));
    meta(QStringLiteral("ncc:setInfo"), QStringLiteral("1 of 1"));
    meta(QStringLiteral("ncc:tocItems"), QString::number(tocItems));
    meta(QStringLiteral("ncc:totalTime"), clockTime(total));
    ncc += QStringLiteral("</head>\n<body>\n") + headings + QStringLiteral("</body>\n</html>\n");
    return save(folder + QStringLiteral("/ncc.html"), ncc);
}

} // namespace DaisyBook
