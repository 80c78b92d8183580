#include "storage/BookmarkFile.h"

#include "core/QvError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <cstring>

namespace BookmarkFile {
namespace {

// What the SAX callbacks gather while the parser walks the file.
struct Walk {
    htmlParserCtxtPtr ctxt = nullptr;
    Parsed out;
    int dlDepth = 0;
    bool inLink = false;
    QByteArray href;
    QByteArray text;
};

Walk& walkOf(void* ctx) { return *static_cast<Walk*>(ctx); }

bool isNamed(const xmlChar* name, const char* lower)
{
    return name && qstricmp(reinterpret_cast<const char*>(name), lower) == 0;
}

// Line breaks become spaces; other control characters (and U+FFFE, U+FFFF), which no title or
// address holds and the parser itself drops in most places, go.
QString cleanText(const QByteArray& utf8)
{
    const QString raw = QString::fromUtf8(utf8);
    QString s;
    s.reserve(raw.size());
    for (const QChar c : raw) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r')
            s += u' ';
        else if ((u >= 0x20 && u != 0x7F && u != 0xFFFE && u != 0xFFFF) || u == u'\t')
            s += c;
    }
    return s.trimmed();
}

// Ends the open link, if any: at its </A>, at the next <A> or at the end of the file.
void finishLink(Walk& w)
{
    if (!w.inLink)
        return;
    w.inLink = false;
    if (int(w.out.links.size()) >= kMaxLinks) {
        w.out.tooManyLinks = true;
        xmlStopParser(w.ctxt);
        return;
    }
    // The outermost list is the file itself; a deeper one is a folder.
    w.out.links.push_back({cleanText(w.text), cleanText(w.href), w.dlDepth > 1});
}

void startElement(void* ctx, const xmlChar* name, const xmlChar** attrs)
{
    Walk& w = walkOf(ctx);
    if (isNamed(name, "dl")) {
        ++w.dlDepth;
        return;
    }
    if (!isNamed(name, "a"))
        return;
    finishLink(w);
    for (int i = 0; attrs && attrs[i]; i += 2) {
        if (isNamed(attrs[i], "href")) {
            w.inLink = true;
            w.href = attrs[i + 1] ? QByteArray(reinterpret_cast<const char*>(attrs[i + 1]))
                                  : QByteArray();
            w.text.clear();
            return;
        }
    }
}

void endElement(void* ctx, const xmlChar* name)
{
    Walk& w = walkOf(ctx);
    if (isNamed(name, "dl")) {
        w.dlDepth = qMax(0, w.dlDepth - 1);
        return;
    }
    if (isNamed(name, "a"))
        finishLink(w);
}

void characters(void* ctx, const xmlChar* ch, int len)
{
    Walk& w = walkOf(ctx);
    if (w.inLink)
        w.text.append(reinterpret_cast<const char*>(ch), len);
}

void internalSubset(void* ctx, const xmlChar* name, const xmlChar*, const xmlChar*)
{
    if (name && qstrnicmp(reinterpret_cast<const char*>(name), "NETSCAPE-Bookmark-file", 22) == 0)
        walkOf(ctx).out.hasDoctype = true;
}

void quiet(void*, const char*, ...) {}

// Valid UTF-8 without NULs, which the parser then reads as UTF-8 whatever the file declares.
bool makeCleanUtf8(QByteArray& bytes)
{
    const bool hadNul = bytes.contains('\0');
    if (hadNul)
        bytes.replace(QByteArray(1, '\0'), QByteArray());
    const QString text = QString::fromUtf8(bytes);
    QByteArray back = text.toUtf8();
    if (back == bytes)
        return hadNul;
    bytes = std::move(back);
    return true;
}

constexpr int kSlice = 256 * 1024;

} // namespace

Parsed parse(QByteArray bytes)
{
    Walk w;
    w.out.hadInvalidText = makeCleanUtf8(bytes);
    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.startElement = startElement;
    sax.endElement = endElement;
    sax.characters = characters;
    sax.cdataBlock = characters;
    sax.internalSubset = internalSubset;
    sax.warning = quiet;
    sax.error = quiet;
    sax.fatalError = quiet;
    sax.initialized = 1;
    w.ctxt = htmlCreatePushParserCtxt(&sax, &w, nullptr, 0, nullptr, XML_CHAR_ENCODING_NONE);
    if (!w.ctxt)
        return w.out;
    // The text is UTF-8 by now: a charset that the file's <META> names must not re-read it.
    xmlSwitchToEncoding(w.ctxt, xmlFindCharEncodingHandler("UTF-8"));
    htmlCtxtUseOptions(w.ctxt, HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                   HTML_PARSE_NONET);
    for (qsizetype at = 0; at < bytes.size() && !w.out.tooManyLinks; at += kSlice) {
        const int n = int(qMin<qsizetype>(kSlice, bytes.size() - at));
        htmlParseChunk(w.ctxt, bytes.constData() + at, n, 0);
    }
    if (!w.out.tooManyLinks)
        htmlParseChunk(w.ctxt, nullptr, 0, 1);
    finishLink(w);
    htmlFreeParserCtxt(w.ctxt);
    return w.out;
}

namespace {
// The notice is small: the file's name, without its folder.
[[noreturn]] void refuse(const QFileInfo& file, const QString& why)
{
    throw QvError(QStringLiteral("\"%1\" %2; nada foi importado.").arg(file.fileName(), why));
}

QString tooLarge()
{
    return QStringLiteral("tem mais de %1 MB, o limite de um arquivo de favoritos")
        .arg(kMaxFileBytes / (1024 * 1024));
}
} // namespace

Parsed load(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        refuse(info, QStringLiteral("não existe"));
    if (info.isDir())
        refuse(info, QStringLiteral("é uma pasta, não um arquivo de favoritos"));
    if (!info.isFile())
        refuse(info, QStringLiteral("não é um arquivo comum"));
    if (info.size() > kMaxFileBytes)
        refuse(info, tooLarge());
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        refuse(info, QStringLiteral("não pode ser lido (%1)").arg(f.errorString()));
    // Read at most one byte past the limit: the file may grow between the check and the read.
    QByteArray bytes = f.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes)
        refuse(info, tooLarge());
    Parsed parsed = parse(std::move(bytes));
    if (parsed.tooManyLinks)
        refuse(info, QStringLiteral("tem mais de %1 links, o limite de uma importação")
                         .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(kMaxLinks)));
    if (!parsed.hasDoctype && parsed.links.empty())
        refuse(info, QStringLiteral("não é um arquivo de favoritos"));
    return parsed;
}

namespace {

QByteArray escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&#39;");
            break;
        case u'\t':
            out += QLatin1String("&#9;");
            break;
        case u'\n':
            out += QLatin1String("&#10;");
            break;
        case u'\r':
            out += QLatin1String("&#13;");
            break;
        default:
            out += c;
        }
    }
    return out.toUtf8();
}

} // namespace

QByteArray write(const std::vector<Site>& sites, qint64 addDate)
{
    const QByteArray date = QByteArray::number(addDate);
    QByteArray out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                     "<!-- This is an automatically generated file.\n"
                     "     It will be read and overwritten.\n"
                     "     DO NOT EDIT! -->\n"
                     "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                     "<TITLE>Bookmarks</TITLE>\n"
                     "<H1>Bookmarks</H1>\n"
                     "<DL><p>\n";
    out.reserve(out.size() + qsizetype(sites.size()) * 96);
    for (const Site& s : sites) {
        out += "    <DT><A HREF=\"";
        out += escaped(s.url);
        out += "\" ADD_DATE=\"";
        out += date;
        out += "\">";
        out += escaped(s.title);
        out += "</A>\n";
    }
    out += "</DL><p>\n";
    return out;
}

void save(const QString& path, const std::vector<Site>& sites, qint64 addDate)
{
    const QString name = QFileInfo(path).fileName();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw QvError(QStringLiteral("Não foi possível criar \"%1\" (%2); nada foi exportado.")
                          .arg(name, f.errorString()));
    const QByteArray bytes = write(sites, addDate);
    if (f.write(bytes) != bytes.size() || !f.commit())
        throw QvError(QStringLiteral("Não foi possível gravar \"%1\" (%2); nada foi exportado.")
                          .arg(name, f.errorString()));
}

} // namespace BookmarkFile
