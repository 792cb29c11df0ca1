#include "Sentences.h"

#include <QSet>

namespace {

// Words that a full stop follows without ending the sentence, in small letters.
const QSet<QString>& abbreviations() {
    static const QSet<QString> words{
        QStringLiteral("sig"),
        QStringLiteral("sigg"),
        QStringLiteral("sig.ra"),
        QStringLiteral("sig.na"),
        QStringLiteral("dott"),
        QStringLiteral("dott.ssa"),
        QStringLiteral("dr"),
        QStringLiteral("prof"),
        QStringLiteral("prof.ssa"),
        QStringLiteral("ing"),
        QStringLiteral("avv"),
        QStringLiteral("arch"),
        QStringLiteral("geom"),
        QStringLiteral("rag"),
        QStringLiteral("on"),
        QStringLiteral("sen"),
        QStringLiteral("mons"),
        QStringLiteral("don"),
        QStringLiteral("fr"),
        QStringLiteral("gen"),
        QStringLiteral("col"),
        QStringLiteral("cap"),
        QStringLiteral("magg"),
        QStringLiteral("ten"),
        QStringLiteral("pag"),
        QStringLiteral("pagg"),
        QStringLiteral("p"),
        QStringLiteral("pp"),
        QStringLiteral("art"),
        QStringLiteral("artt"),
        QStringLiteral("cfr"),
        QStringLiteral("ecc"),
        QStringLiteral("etc"),
        QStringLiteral("es"),
        QStringLiteral("n"),
        QStringLiteral("nr"),
        QStringLiteral("num"),
        QStringLiteral("tel"),
        QStringLiteral("vol"),
        QStringLiteral("fig"),
        QStringLiteral("ca"),
        QStringLiteral("c.a"),
        QStringLiteral("s.p.a"),
        QStringLiteral("s.r.l"),
        QStringLiteral("spa"),
        QStringLiteral("srl"),
        QStringLiteral("a.c"),
        QStringLiteral("d.c"),
        QStringLiteral("v"),
        QStringLiteral("vs"),
        QStringLiteral("ss"),
        QStringLiteral("s"),
        QStringLiteral("sant"),
        QStringLiteral("st"),
        QStringLiteral("gent"),
        QStringLiteral("spett"),
        QStringLiteral("egr"),
        QStringLiteral("ill"),
        QStringLiteral("on.le"),
        QStringLiteral("ass"),
        QStringLiteral("min"),
        QStringLiteral("max"),
        QStringLiteral("tab"),
        QStringLiteral("all"),
        QStringLiteral("cit"),
        QStringLiteral("ed"),
        QStringLiteral("op"),
        QStringLiteral("ibid"),
        QStringLiteral("lett"),
        QStringLiteral("co"),
        QStringLiteral("comma"),
        QStringLiteral("reg"),
        QStringLiteral("dl"),
        QStringLiteral("d.l"),
        QStringLiteral("d.lgs"),
        QStringLiteral("l"),
        // months, as dates shorten them ("5 dic. 2026")
        QStringLiteral("feb"),
        QStringLiteral("mar"),
        QStringLiteral("apr"),
        QStringLiteral("mag"),
        QStringLiteral("giu"),
        QStringLiteral("lug"),
        QStringLiteral("ago"),
        QStringLiteral("sett"),
        QStringLiteral("set"),
        QStringLiteral("ott"),
        QStringLiteral("nov"),
        QStringLiteral("dic"),
    };
    return words;
}

bool isTerminal(QChar c) {
    return c == u'.' || c == u'!' || c == u'?' || c == u'…';
}

bool isClosing(QChar c) {
    return c == u'»' || c == u'”' || c == u'"' || c == u'’' || c == u'\'' || c == u')' || c == u']';
}

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// What may start a new sentence.
bool opensSentence(QChar c) {
    return c.isUpper() || c.isDigit() || c == u'«' || c == u'“' || c == u'"' || c == u'‘' || c == u'(' || c == u'—' ||
           c == u'–' || c == u'-' || c == u'[';
}

// The word that ends just before the full stop at `dot`, in small letters, with its inner dots ("s.p.a").
QString wordBefore(const QString& text, qsizetype dot) {
    qsizetype start = dot;
    while (start > 0 && (text.at(start - 1).isLetter() ||
                         (text.at(start - 1) == u'.' && start - 1 > 0 && text.at(start - 2).isLetter())))
        --start;
    return text.mid(start, dot - start).toLower();
}

bool isInitial(const QString& text, qsizetype dot) {
    return dot >= 1 && text.at(dot - 1).isUpper() && (dot == 1 || !text.at(dot - 2).isLetter());
}

// A full stop glued to the next word: small letters before it (a word of two at least), a capitalised word after.
bool gluedEnd(const QString& text, qsizetype dot) {
    if (dot < 2 || dot + 2 >= text.size())
        return false;
    return text.at(dot - 1).isLower() && text.at(dot - 2).isLower() && text.at(dot + 1).isUpper() &&
           text.at(dot + 2).isLower();
}

// Where the sentence whose terminal run starts at i ends (past its closing marks), or -1 when it goes on.
qsizetype endAt(const QString& text, qsizetype i) {
    qsizetype end = i;
    while (end < text.size() && isTerminal(text.at(end)))
        ++end;
    const qsizetype marks = end;
    while (end < text.size() && isClosing(text.at(end)))
        ++end;
    if (end >= text.size() || isLineBreak(text.at(end)))
        return end;
    const bool single = marks - i == 1;
    const bool fullStop = single && text.at(i) == u'.';
    if (fullStop && end == marks && gluedEnd(text, i))
        return end;
    if (!text.at(end).isSpace())
        return -1;
    qsizetype next = end;
    while (next < text.size() && text.at(next).isSpace() && !isLineBreak(text.at(next)))
        ++next;
    if (next >= text.size() || isLineBreak(text.at(next)))
        return end;
    if (!opensSentence(text.at(next)))
        return -1;
    if (fullStop && (abbreviations().contains(wordBefore(text, i)) || isInitial(text, i)))
        return -1;
    return end;
}

void add(QList<Sentences::Span>& spans, const QString& text, qsizetype start, qsizetype end) {
    while (start < end && text.at(start).isSpace())
        ++start;
    while (end > start && text.at(end - 1).isSpace())
        --end;
    if (end > start)
        spans.append({start, end - start});
}

} // namespace

namespace Sentences {

QList<Span> split(const QString& text) {
    QList<Span> spans;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (isLineBreak(c)) {
            add(spans, text, start, i);
            start = ++i;
            continue;
        }
        if (isTerminal(c) &&
            !(c == u'.' && i + 1 < text.size() && text.at(i + 1).isDigit() && i > 0 && text.at(i - 1).isDigit())) {
            const qsizetype end = endAt(text, i);
            if (end >= 0) {
                add(spans, text, start, end);
                start = i = end;
                continue;
            }
            while (i < text.size() && isTerminal(text.at(i)))
                ++i;
            continue;
        }
        ++i;
    }
    add(spans, text, start, text.size());
    return spans;
}

} // namespace Sentences
