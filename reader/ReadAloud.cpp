#include "ReadAloud.h"

#include "NewspaperStructure.h"
#include "platform/Worker.h"

namespace {

constexpr int kLast = -1; // an entry: the section's last article
constexpr int kAside = -2;

QString articleTitle(const QString& contentsLine) {
    return contentsLine.mid(3).trimmed();
}

} // namespace

ReadAloud::ReadAloud(QObject* parent) : QObject(parent) {}

ReadAloud::~ReadAloud() = default;

void ReadAloud::setIssue(const QString& folder, const QList<Section>& sections) {
    stop();
    ++m_prefetch;
    m_prefetching = false;
    m_following.reset();
    m_folder = folder;
    m_sections = sections;
    m_article = Article{};
    m_items.clear();
    m_current = 0;
}

// From the article at the section's entry on, in the direction given, the first article there is: sections whose
// index cannot be read, and sections without articles, are passed over. Runs in a worker.
Outcome<ReadAloud::Article> ReadAloud::load(const QString& folder, const QList<Section>& sections, int section,
                                            int entry, int direction) {
    Article article;
    const auto passOver = [&article](const QString& what, const QString& reason) {
        article.passedOver.append(what);
        if (article.reason.isEmpty())
            article.reason = reason;
    };
    while (section >= 0 && section < sections.size()) {
        const QString& name = sections.at(section).name;
        const Outcome<QStringList> contents = NewspaperStructure::CaricaSommario(sections.at(section).indexPath);
        if (!contents)
            passOver(QStringLiteral("sezione %1").arg(name), contents.reason());
        const QStringList lines = contents ? contents.value() : QStringList();
        for (int at = entry == kLast ? static_cast<int>(lines.size()) - 1 : entry; at >= 0 && at < lines.size();
             at += direction) {
            const Outcome<QString> text =
                NewspaperStructure::CaricaArticolo(NewspaperStructure::articlePath(folder, name, lines.at(at)));
            if (!text) {
                passOver(QStringLiteral("l'articolo «%1» di %2").arg(articleTitle(lines.at(at)), name), text.reason());
                continue;
            }
            article.section = section;
            article.entry = at;
            article.contents = lines;
            article.text = text.value();
            article.sentences = Sentences::split(article.text);
            return article;
        }
        section += direction;
        entry = direction > 0 ? 0 : kLast;
    }
    article.section = -1;
    return article;
}

// The latest load started is the one that counts, and only while the reading goes on.
void ReadAloud::loadThen(int section, int entry, int direction, std::function<void(const Article&)> then) {
    const quint64 ticket = ++m_load;
    runInWorker(
        this,
        [folder = m_folder, sections = m_sections, section, entry, direction] {
            return load(folder, sections, section, entry, direction);
        },
        [this, ticket, then = std::move(then)](const Outcome<Article>& article) {
            if (ticket != m_load || m_state != State::Reading)
                return;
            if (!article)
                fail(withReason(QStringLiteral("L'articolo non si può leggere."), article.reason()));
            else
                then(article.value());
        });
}

Outcome<> ReadAloud::openVoice() {
    if (m_voice)
        return Success();
    std::unique_ptr<Voice> voice = Voice::make();
    const Outcome<> opened = voice->open();
    if (!opened)
        return opened;
    m_voice = std::move(voice);
    connect(m_voice.get(), &Voice::begun, this, &ReadAloud::onBegun);
    connect(m_voice.get(), &Voice::ended, this, &ReadAloud::onEnded);
    connect(m_voice.get(), &Voice::failed, this, &ReadAloud::fail);
    m_voice->apply(m_settings);
    return Success();
}

Outcome<> ReadAloud::start(const Place& from, bool sayingSection) {
    if (const Outcome<> opened = openVoice(); !opened)
        return opened;
    cancelSpeech();
    setState(State::Reading);
    loadThen(from.section, from.entry, +1, [this, from, sayingSection](const Article& article) {
        begin(article, from.offset, sayingSection || article.section != from.section);
    });
    return Success();
}

void ReadAloud::begin(const Article& article, qsizetype from, bool sayingSection) {
    if (!article.passedOver.isEmpty()) {
        emit told(withReason(QStringLiteral("Saltato perché non si può leggere: %1.")
                                 .arg(article.passedOver.join(QStringLiteral(", "))),
                             article.reason)
                      .replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }
    if (article.section < 0) {
        cancelSpeech();
        setState(State::Stopped);
        emit told(QStringLiteral("Fine del giornale."));
        return;
    }
    m_article = article;
    m_following.reset();
    m_items.clear();
    if (sayingSection)
        m_items.append({QStringLiteral("Sezione %1.").arg(m_sections.at(article.section).name), kTitle, true});
    m_items.append({articleTitle(article.contents.at(article.entry)) + QLatin1Char('.'), kTitle, false});
    int first = from == kTitle ? 0 : -1;
    for (const Sentences::Span& sentence : article.sentences) {
        if (from != kTitle && sentence.start <= from)
            first = static_cast<int>(m_items.size());
        m_items.append({article.text.mid(sentence.start, sentence.length), sentence.start, false});
    }
    if (first < 0) // before the first sentence
        first = static_cast<int>(m_items.size() - article.sentences.size());
    first = std::min(first, static_cast<int>(m_items.size()) - 1);
    emit articleStarted(article.section, article.entry, article.contents);
    sendFrom(first);
    prefetch();
}

// The following article is read while this one is said, so the voice goes on without a pause.
void ReadAloud::prefetch() {
    const quint64 ticket = ++m_prefetch;
    m_prefetching = true;
    runInWorker(
        this,
        [folder = m_folder, sections = m_sections, section = m_article.section, entry = m_article.entry + 1] {
            return load(folder, sections, section, entry, +1);
        },
        [this, ticket](const Outcome<Article>& following) {
            if (ticket != m_prefetch)
                return;
            m_prefetching = false;
            if (!following) {
                fail(withReason(QStringLiteral("L'articolo seguente non si può leggere."), following.reason()));
                return;
            }
            m_following = following.value();
            if (m_state == State::Reading && m_current >= m_items.size())
                readFollowing();
        });
}

void ReadAloud::readFollowing() {
    const Article following = *std::exchange(m_following, std::nullopt);
    begin(following, kTitle, following.section != m_article.section);
}

void ReadAloud::sendFrom(int item) {
    m_current = item;
    if (std::find(m_waiting.cbegin(), m_waiting.cend(), kAside) != m_waiting.cend())
        return; // a notice is being said: the reading goes on from here after it
    cancelSpeech();
    m_sent = item - 1;
    sendNext();
    sendNext(); // one waiting behind, so the voice goes on without a pause
}

void ReadAloud::sendNext() {
    if (!m_voice || m_sent + 1 >= m_items.size())
        return;
    const quint64 id = m_nextId++;
    m_waiting.insert(id, ++m_sent);
    m_voice->say(id, m_items.at(m_sent).text);
}

void ReadAloud::cancelSpeech() {
    if (m_waiting.isEmpty())
        return;
    m_waiting.clear();
    if (m_voice)
        m_voice->cancel();
}

void ReadAloud::onBegun(quint64 id) {
    const int item = m_waiting.value(id, kAside);
    if (item < 0)
        return;
    m_current = item;
    if (m_items.at(item).offset != kTitle) {
        const qsizetype offset = m_items.at(item).offset;
        emit sentenceStarted(m_article.section, m_article.entry, {offset, m_items.at(item).text.size()});
    }
    sendNext();
}

void ReadAloud::onEnded(quint64 id) {
    if (!m_waiting.contains(id))
        return;
    const int item = m_waiting.take(id);
    if (item == kAside) {
        if (m_state == State::Reading)
            sendFrom(m_current);
        return;
    }
    if (item == m_items.size() - 1) {
        m_current = static_cast<int>(m_items.size());
        articleDone();
    }
}

// The article was said to its end: the sleep timer stops here, else the next article follows.
void ReadAloud::articleDone() {
    emit articleRead(m_article.section, m_article.entry);
    const bool sectionEnds = m_article.entry + 1 >= m_article.contents.size();
    if (m_sleep == Sleep::AtArticleEnd || (m_sleep == Sleep::AtSectionEnd && sectionEnds)) {
        const QString where =
            m_sleep == Sleep::AtArticleEnd ? QStringLiteral("dell'articolo") : QStringLiteral("della sezione");
        m_sleep = Sleep::Never;
        cancelSpeech();
        setState(State::Stopped);
        emit told(QStringLiteral("Lettura fermata alla fine %1.").arg(where));
        return;
    }
    if (m_following)
        readFollowing();
    else if (!m_prefetching)
        prefetch();
    // else the following article is still being read: it starts when it comes
}

void ReadAloud::pause() {
    if (m_state != State::Reading)
        return;
    cancelSpeech();
    setState(State::Paused);
}

void ReadAloud::resume() {
    if (m_state != State::Paused)
        return;
    if (m_items.isEmpty()) {
        setState(State::Stopped);
        return;
    }
    setState(State::Reading);
    if (m_current < m_items.size())
        sendFrom(m_current);
    else
        skipArticle(+1);
}

void ReadAloud::stop() {
    cancelSpeech();
    ++m_load;
    setState(State::Stopped);
}

void ReadAloud::skipArticle(int direction) {
    if (m_items.isEmpty())
        return;
    cancelSpeech();
    setState(State::Reading);
    const int section = m_article.section;
    const int entry = m_article.entry + direction;
    // Before the section's first article: the previous section's last.
    loadThen(entry < 0 ? section - 1 : section, entry < 0 ? kLast : entry, direction,
             [this, section, direction](const Article& article) {
                 if (article.section < 0) {
                     emit told(direction > 0 ? QStringLiteral("Ultimo articolo del giornale.")
                                             : QStringLiteral("Primo articolo del giornale."));
                     sendFrom(std::min(m_current, static_cast<int>(m_items.size()) - 1));
                     return;
                 }
                 begin(article, kTitle, article.section != section);
             });
}

void ReadAloud::skipSentence(int direction) {
    if (m_items.isEmpty())
        return;
    setState(State::Reading);
    const int item = m_current + direction;
    if (item >= m_items.size()) {
        cancelSpeech();
        skipArticle(+1);
        return;
    }
    sendFrom(std::max(0, item));
}

void ReadAloud::apply(const VoiceSettings& settings) {
    m_settings = settings;
    if (!m_voice)
        return;
    m_voice->apply(settings);
    if (m_state == State::Reading && m_current < m_items.size())
        sendFrom(m_current);
}

QStringList ReadAloud::voices() {
    return openVoice() ? m_voice->voices() : QStringList();
}

void ReadAloud::sayAside(const QString& text) {
    if (!m_voice)
        return;
    cancelSpeech();
    const quint64 id = m_nextId++;
    m_waiting.insert(id, kAside);
    m_voice->say(id, text);
}

ReadAloud::Place ReadAloud::place() const {
    if (m_current < m_items.size())
        return {m_article.section, m_article.entry, m_items.at(m_current).offset};
    return {m_article.section, m_article.entry + 1, kTitle};
}

void ReadAloud::setState(State state) {
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void ReadAloud::fail(const QString& reason) {
    if (m_state == State::Stopped)
        return; // said once
    cancelSpeech();
    setState(State::Stopped);
    emit failed(reason);
}
