#include "HtmlPage.h"

#include "platform/Cp1252.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cctype>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <gumbo.h>
#include <unordered_set>
#include <vector>

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
    GumboStringPiece asWritten = element.original_tag;
    gumbo_tag_from_original_text(&asWritten);
    return QString::fromUtf8(asWritten.data, static_cast<qsizetype>(asWritten.length)).toUpper();
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

QString startTag(const GumboElement& element, const QString& name) {
    QString tag = QLatin1Char('<') + name;
    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
        tag += QLatin1Char(' ') + QString::fromUtf8(attribute->name) + QStringLiteral("=\"") +
               QString::fromUtf8(attribute->value).replace(QLatin1Char('"'), QStringLiteral("&quot;")) +
               QLatin1Char('"');
    }
    return tag + QLatin1Char('>');
}

// Depth first with a stack of its own, so that no nesting, however deep, can exhaust the thread's stack.
// Each entry is a node still to write, or the end tag of an element whose children are written.
QString serialiseTree(const GumboNode* root, qsizetype sizeHint) {
    QString out;
    out.reserve(sizeHint);
    struct Pending {
        const GumboNode* node;
        QString endTag; // set: only this end tag is left to write
    };
    std::vector<Pending> stack{{root, {}}};
    auto pushChildren = [&stack](const GumboVector& children) {
        for (unsigned i = children.length; i > 0; --i)
            stack.push_back({static_cast<const GumboNode*>(children.data[i - 1]), {}});
    };
    while (!stack.empty()) {
        Pending pending = std::move(stack.back());
        stack.pop_back();
        if (!pending.endTag.isNull()) {
            out += pending.endTag;
            continue;
        }
        const GumboNode* node = pending.node;
        switch (node->type) {
        case GUMBO_NODE_DOCUMENT:
            pushChildren(node->v.document.children);
            break;
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE: {
            const GumboElement& element = node->v.element;
            const QString name = tagName(element);
            out += startTag(element, name);
            if (isVoid(element.tag))
                break;
            stack.push_back({nullptr, QStringLiteral("</") + name + QLatin1Char('>')});
            pushChildren(element.children);
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
    return out;
}

// Every block gumbo asks for, so that the whole tree goes in one sweep without gumbo's own recursive release,
// and so that the parse can be stopped: past the limits, or past its time, the allocation jumps back to parse()
// and the page is refused. Counting elements and attributes bounds the parser's work on deep or wide markup,
// counting allocations bounds the number of tags, and the clock catches what both miss.
struct Arena {
    std::unordered_set<void*> blocks;
    int elementsAndAttributes = 0;
    int allocations = 0;
    QDeadlineTimer deadline;
    std::jmp_buf stop;
};

void* allocate(void* userdata, size_t size) {
    auto* arena = static_cast<Arena*>(userdata);
    if (size == sizeof(GumboNode) || size == sizeof(GumboAttribute))
        ++arena->elementsAndAttributes;
    if (arena->elementsAndAttributes > HtmlPage::kMaxElements || ++arena->allocations > HtmlPage::kMaxAllocations ||
        arena->deadline.hasExpired())
        std::longjmp(arena->stop, 1);
    void* block = std::malloc(size);
    if (!block)
        std::longjmp(arena->stop, 1);
    arena->blocks.insert(block);
    return block;
}

void release(void* userdata, void* block) {
    if (!block)
        return;
    static_cast<Arena*>(userdata)->blocks.erase(block);
    std::free(block);
}

// A quick look over the raw text for tags with more attribute-like words than any real page has: gumbo checks
// each new attribute against those before it, so a tag of a million repeated names takes it minutes. Quoted
// values after "=" are passed over as the parser passes them.
bool hasOverlongTag(const QByteArray& utf8) {
    const char* p = utf8.constData();
    const char* end = p + utf8.size();
    while ((p = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p)))) != nullptr) {
        ++p;
        const char* name = p < end && *p == '/' ? p + 1 : p;
        if (name >= end || !std::isalpha(static_cast<unsigned char>(*name)))
            continue; // "<" before anything but a letter is text, to the parser too
        int words = 0;
        bool inWord = false;
        for (; p < end && *p != '>'; ++p) {
            const char c = *p;
            if ((c == '"' || c == '\'') && p > utf8.constData() && p[-1] == '=') {
                const char* close = static_cast<const char*>(std::memchr(p + 1, c, static_cast<size_t>(end - p - 1)));
                p = close ? close : end - 1;
                continue;
            }
            const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '/';
            if (!space && !inWord && ++words > HtmlPage::kMaxWordsInTag)
                return true;
            inWord = !space;
        }
    }
    return false;
}

// Nothing with a destructor lives in this frame, so leaving it by longjmp skips no clean-up.
GumboOutput* parseWithin(Arena& arena, const GumboOptions& options, const QByteArray& utf8) {
    if (setjmp(arena.stop) != 0)
        return nullptr;
    return gumbo_parse_with_options(&options, utf8.constData(), static_cast<size_t>(utf8.size()));
}

} // namespace

namespace HtmlPage {

QString decode(const QByteArray& body, const QByteArray& contentType) {
    QByteArray charset = charsetIn(contentType);
    if (charset.isEmpty())
        charset = charsetIn(body.left(1024));
    return decodeAs(charset, body);
}

Outcome<QString> serialise(const QString& html) {
    const QByteArray utf8 = html.toUtf8();
    if (hasOverlongTag(utf8))
        return Failure{QStringLiteral("la pagina del servizio è troppo complessa per essere letta")};
    Arena arena;
    arena.blocks.reserve(1024);
    arena.deadline = QDeadlineTimer(kMaxParseMs);
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = allocate;
    options.deallocator = release;
    options.userdata = &arena;
    options.max_errors = 0; // the errors are never read, and each would keep a copy of the open elements
    GumboOutput* output = parseWithin(arena, options, utf8);
    QString page;
    if (output)
        page = serialiseTree(output->root, html.size() + html.size() / 8);
    for (void* block : arena.blocks)
        std::free(block);
    if (!output)
        return Failure{QStringLiteral("la pagina del servizio è troppo complessa per essere letta")};
    return page;
}

Outcome<QString> render(const QByteArray& body, const QByteArray& contentType) {
    if (body.size() > kMaxBytes)
        return Failure{QStringLiteral("la pagina del servizio supera il limite di %1 MB").arg(kMaxBytes >> 20)};
    return serialise(decode(body, contentType));
}

} // namespace HtmlPage
