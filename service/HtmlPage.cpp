#include "HtmlPage.h"

#include "platform/Cp1252.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <gumbo.h>

namespace {

QByteArray charsetIn(const QByteArray& text) {
    static const QRegularExpression pattern(QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9_.:-]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(text));
    return match.hasMatch() ? match.captured(1).toLatin1().toLower() : QByteArray();
}

QString decodeAs(const QByteArray& charset, const QByteArray& body) {
    if (charset == "windows-1252" || charset == "cp1252" || charset.isEmpty())
        return Cp1252::decode(body);
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return Cp1252::decode(body);
    return decoder.decode(body);
}

void appendText(QString& out, const char* utf8) {
    const QString text = QString::fromUtf8(utf8);
    out.reserve(out.size() + text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n'))
            out += QStringLiteral("\r\n");
        else
            out += text[i];
    }
}

QString tagName(const GumboElement& element) {
    if (element.tag != GUMBO_TAG_UNKNOWN)
        return QString::fromLatin1(gumbo_normalized_tagname(element.tag)).toUpper();
    GumboStringPiece original = element.original_tag;
    gumbo_tag_from_original_text(&original);
    return QString::fromUtf8(original.data, static_cast<qsizetype>(original.length)).toUpper();
}

bool isVoid(GumboTag tag) {
    switch (tag) {
    case GUMBO_TAG_AREA:
    case GUMBO_TAG_BASE:
    case GUMBO_TAG_BR:
    case GUMBO_TAG_COL:
    case GUMBO_TAG_EMBED:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_IMG:
    case GUMBO_TAG_INPUT:
    case GUMBO_TAG_LINK:
    case GUMBO_TAG_META:
    case GUMBO_TAG_PARAM:
    case GUMBO_TAG_SOURCE:
    case GUMBO_TAG_TRACK:
    case GUMBO_TAG_WBR:
        return true;
    default:
        return false;
    }
}

void serialiseNode(const GumboNode* node, QString& out);

void serialiseChildren(const GumboVector& children, QString& out) {
    for (unsigned i = 0; i < children.length; ++i)
        serialiseNode(static_cast<const GumboNode*>(children.data[i]), out);
}

void serialiseNode(const GumboNode* node, QString& out) {
    switch (node->type) {
    case GUMBO_NODE_DOCUMENT:
        serialiseChildren(node->v.document.children, out);
        break;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE: {
        const GumboElement& element = node->v.element;
        const QString name = tagName(element);
        out += QLatin1Char('<') + name;
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            out += QLatin1Char(' ') + QString::fromUtf8(attribute->name) + QStringLiteral("=\"") +
                   QString::fromUtf8(attribute->value).replace(QLatin1Char('"'), QStringLiteral("&quot;")) +
                   QLatin1Char('"');
        }
        out += QLatin1Char('>');
        if (isVoid(element.tag))
            break;
        serialiseChildren(element.children, out);
        out += QStringLiteral("</") + name + QLatin1Char('>');
        break;
    }
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_CDATA:
    case GUMBO_NODE_WHITESPACE:
        appendText(out, node->v.text.text);
        break;
    case GUMBO_NODE_COMMENT:
        out += QStringLiteral("<!--");
        appendText(out, node->v.text.text);
        out += QStringLiteral("-->");
        break;
    }
}

} // namespace

namespace HtmlPage {

QString decode(const QByteArray& body, const QByteArray& contentType) {
    QByteArray charset = charsetIn(contentType);
    if (charset.isEmpty())
        charset = charsetIn(body.left(1024));
    return decodeAs(charset, body);
}

QString serialise(const QString& html) {
    const QByteArray utf8 = html.toUtf8();
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(),
                                                   static_cast<size_t>(utf8.size()));
    QString page;
    page.reserve(html.size() + html.size() / 8);
    serialiseNode(output->root, page);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return page;
}

} // namespace HtmlPage
