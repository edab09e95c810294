#include "importers/fieldtext.h"

#include <QRegularExpression>

#include <libxml/HTMLparser.h>

#include <memory>

namespace {
bool isFoldedSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\u00A0';
}

QString folded(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (isFoldedSpace(c)) {
            space = !out.isEmpty();
            continue;
        }
        if (space)
            out += u' ';
        space = false;
        out += c;
    }
    return out;
}

// Elements that end a line or a box where they stand: their text is kept apart by a space.
bool breaksText(const xmlChar *name)
{
    static const char *const kBreaking[] = {"br", "div", "p",     "li",         "tr",  "td", "th",
                                            "hr", "h1",  "h2",    "h3",         "h4",  "h5", "h6",
                                            "ul", "ol",  "table", "blockquote", "pre", "dt", "dd"};
    for (const char *breaking : kBreaking)
        if (xmlStrcasecmp(name, reinterpret_cast<const xmlChar *>(breaking)) == 0)
            return true;
    return false;
}

bool hidesText(const xmlChar *name)
{
    return xmlStrcasecmp(name, reinterpret_cast<const xmlChar *>("script")) == 0 ||
           xmlStrcasecmp(name, reinterpret_cast<const xmlChar *>("style")) == 0;
}

void collect(const xmlNode *node, QByteArray &out)
{
    for (; node; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            out += reinterpret_cast<const char *>(node->content);
        } else if (node->type == XML_ELEMENT_NODE && !hidesText(node->name)) {
            const bool breaks = breaksText(node->name);
            if (breaks)
                out += ' ';
            collect(node->children, out);
            if (breaks)
                out += ' ';
        }
    }
}

struct DocFree {
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
} // namespace

// libxml2's HTML parser, not a pattern of our own: it knows every HTML 4 entity, numeric
// references, comments and the broken markup an editor leaves, and it recovers from all of it.
QString htmltext(QStringView html)
{
    if (!html.contains(u'<') && !html.contains(u'&'))
        return folded(html);
    const QByteArray utf8 = html.toUtf8();
    // Wrapped so that a fragment of text alone is still parsed as the body's text.
    const QByteArray page = "<html><body>" + utf8 + "</body></html>";
    const std::unique_ptr<xmlDoc, DocFree> doc(htmlReadMemory(
        page.constData(), int(page.size()), nullptr, "UTF-8",
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
    if (!doc)
        return folded(html);
    QByteArray text;
    collect(xmlDocGetRootElement(doc.get()), text);
    return folded(QString::fromUtf8(text));
}

QString fieldtext(QStringView field, bool html)
{
    static const QRegularExpression sound(QStringLiteral("\\[sound:[^\\]]*\\]"));
    QString text = html ? htmltext(field) : folded(field);
    if (text.contains(QStringLiteral("[sound:")))
        text = folded(text.remove(sound));
    return text;
}

Furigana furigana(const QString &field)
{
    // A reading in brackets follows the text it reads; a space, which the notation needs only
    // to say where that text starts, is not part of either.
    static const QRegularExpression ruby(QStringLiteral(" ?([^ >\\[\\]]+?)\\[([^\\[\\]]+)\\]"));
    Furigana result;
    qsizetype at = 0;
    bool any = false;
    for (auto it = ruby.globalMatch(field); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QStringView before = QStringView(field).sliced(at, m.capturedStart() - at);
        result.text += before;
        result.reading += before;
        result.text += m.capturedView(1);
        result.reading += m.capturedView(2);
        at = m.capturedEnd();
        any = true;
    }
    if (!any)
        return {field, {}};
    result.text += QStringView(field).sliced(at);
    result.reading += QStringView(field).sliced(at);
    result.text = folded(result.text);
    result.reading = folded(result.reading);
    return result;
}
