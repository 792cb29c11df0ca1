#include "SampleIssue.h"

#include "platform/Cp1252.h"

#include <QFile>
#include <QStringList>
#include <archive.h>
#include <archive_entry.h>

namespace {

const QStringList kSections = {"Prima pagina", "Cronaca", "Politica", "Economia",
                               "Esteri",       "Cultura", "Sport",    "Spettacoli"};

const QStringList kSubjects = {"Il sindaco",
                               "La giunta regionale",
                               "Il comitato di quartiere",
                               "La squadra",
                               "L’assessore alla cultura",
                               "Il presidente della provincia",
                               "La Camera di commercio",
                               "Il teatro comunale",
                               "L’università",
                               "Il consorzio agrario"};
const QStringList kVerbs = {"annuncia", "rinvia", "approva", "contesta", "presenta", "inaugura", "difende", "rilancia"};
const QStringList kObjects = {"il nuovo piano del traffico", "la festa di San Martino", "un bilancio da 3 milioni di €",
                              "la stagione più attesa",      "il progetto della città", "i lavori sulla statale",
                              "un’iniziativa per le scuole", "il mercato del sabato"};
const QStringList kSentences = {
    "Secondo quanto riferito ieri sera, la decisione è arrivata dopo una lunga discussione.",
    "«È un passo avanti», ha dichiarato il portavoce, “ma resta molto da fare”.",
    "La spesa prevista supera i 250.000 €, già stanziati nel bilancio di quest’anno.",
    "Non sono mancate le polemiche: l’opposizione parla di un’occasione persa.",
    "I cittadini potranno seguire i lavori perché le sedute saranno pubbliche.",
    "Più di mille persone hanno partecipato all’incontro di giovedì.",
    "Il prossimo appuntamento è fissato per lunedì, alle 18, in municipio.",
    "Già da stamattina le prime reazioni sono state positive.",
};

// A small deterministic generator, so that the same issue comes out the same every time.
class Dice {
public:
    explicit Dice(uint32_t seed) : m_state(seed * 2654435761u + 1) {}
    int roll(int sides) {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 16) % static_cast<uint32_t>(sides));
    }

private:
    uint32_t m_state;
};

QString pick(Dice& dice, const QStringList& list) {
    return list.at(dice.roll(static_cast<int>(list.size())));
}

QString sectionName(const SampleIssue::Layout& layout, int index) {
    if (layout.numberedSections)
        return QStringLiteral("Sezione%1").arg(index + 1, 3, 10, QLatin1Char('0'));
    return QString(kSections.at(index % kSections.size())).replace(QLatin1Char(' '), QLatin1Char('-'));
}

// "01-Cronaca-000.txt"; every third section uses "_" as the separator before "000", as some issues do.
QString indexFileName(const SampleIssue::Layout& layout, int index) {
    const QString prefix = QStringLiteral("%1-").arg(index + 1, layout.numberedSections ? 3 : 2, 10, QLatin1Char('0'));
    const QChar separator = index % 3 == 2 ? QLatin1Char('_') : QLatin1Char('-');
    return prefix + sectionName(layout, index) + separator + QStringLiteral("000.txt");
}

QByteArray lines(const QStringList& texts) {
    return Cp1252::encode(texts.join(QStringLiteral("\r\n")) + "\r\n");
}

bool add(archive* zip, const QString& name, const QByteArray& content) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.toUtf8().constData());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_mtime(entry, 1733400000, 0);
    archive_entry_set_size(entry, content.size());
    const bool ok = archive_write_header(zip, entry) == ARCHIVE_OK &&
                    archive_write_data(zip, content.constData(), content.size()) == content.size();
    archive_entry_free(entry);
    return ok;
}

} // namespace

namespace SampleIssue {

bool openForWriting(archive* zip, const QString& path) {
#ifdef Q_OS_WIN
    return archive_write_open_filename_w(zip, path.toStdWString().c_str()) == ARCHIVE_OK;
#else
    return archive_write_open_filename(zip, QFile::encodeName(path).constData()) == ARCHIVE_OK;
#endif
}

QString baseName(const Layout& layout) {
    return layout.masthead + layout.date + layout.edition;
}

QList<Layout> demoIssues() {
    return {
        {QStringLiteral("La Gazzetta del Borgo"), QStringLiteral("20261205"), {}, 8, 6, false},
        {QStringLiteral("La Gazzetta del Borgo"), QStringLiteral("20261204"), {}, 6, 5, false},
        {QStringLiteral("Il Corriere della Valle"), QStringLiteral("20261205"), QStringLiteral("Nord"), 7, 5, false},
        {QStringLiteral("Il Corriere della Valle"), QStringLiteral("20261205"), QStringLiteral("Sud"), 7, 5, false},
        {QStringLiteral("L'Eco del Mattino"), QStringLiteral("20261203"), {}, 5, 8, false},
    };
}

Layout largeIssue() {
    return {QStringLiteral("Il Grande Quotidiano"), QStringLiteral("20261205"), {}, 200, 100, true};
}

bool write(const Layout& layout, const QString& zipPath) {
    archive* zip = archive_write_new();
    archive_write_set_format_zip(zip);
    bool ok = openForWriting(zip, zipPath);
    Dice dice(qHash(baseName(layout)));
    for (int s = 0; ok && s < layout.sections; ++s) {
        const QString section = sectionName(layout, s);
        QStringList contents;
        for (int a = 1; ok && a <= layout.articlesPerSection; ++a) {
            const QString code = QStringLiteral("%1").arg(a, 3, 10, QLatin1Char('0'));
            const QString headline = pick(dice, kSubjects) + ' ' + pick(dice, kVerbs) + ' ' + pick(dice, kObjects);
            contents << code + ' ' + headline;
            QStringList article{headline + QStringLiteral(". ")};
            const int paragraphs = 3 + dice.roll(4);
            for (int p = 0; p < paragraphs; ++p)
                article << pick(dice, kSentences) + ' ' + pick(dice, kSentences) + ' ';
            ok = add(zip, section + '-' + code + QStringLiteral(".txt"), lines(article));
        }
        ok = ok && add(zip, indexFileName(layout, s), lines(contents));
    }
    ok = archive_write_close(zip) == ARCHIVE_OK && ok;
    archive_write_free(zip);
    return ok;
}

} // namespace SampleIssue
