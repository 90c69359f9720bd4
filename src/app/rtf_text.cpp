#include "app/rtf_text.h"

#include <QStringDecoder>
#include <QVector>
#include <cctype>

namespace {

struct Style {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool skip = false; // inside a destination whose text is not shown
    int unicodeSkip = 1;
};

bool isSkippedDestination(const QByteArray &word)
{
    static const QList<QByteArray> skipped = {"fonttbl", "colortbl", "stylesheet", "info",
                                              "pict",    "header",   "footer",     "listtable",
                                              "listoverridetable", "generator", "themedata"};
    return skipped.contains(word);
}

class Writer {
public:
    void text(const QString &s, const Style &st)
    {
        if (st.skip || s.isEmpty())
            return;
        setStyle(st);
        out += s.toHtmlEscaped();
    }
    void raw(const QString &html, const Style &st)
    {
        if (st.skip)
            return;
        setStyle(st);
        out += html;
    }
    QString finish()
    {
        setStyle(Style{});
        return QStringLiteral("<html><body>") + out + QStringLiteral("</body></html>");
    }

private:
    void setStyle(const Style &st)
    {
        if (st.underline != cur.underline && cur.underline)
            out += QStringLiteral("</u>");
        if (st.italic != cur.italic && cur.italic)
            out += QStringLiteral("</i>");
        if (st.bold != cur.bold && cur.bold)
            out += QStringLiteral("</b>");
        if (st.bold && !cur.bold)
            out += QStringLiteral("<b>");
        if (st.italic && !cur.italic)
            out += QStringLiteral("<i>");
        if (st.underline && !cur.underline)
            out += QStringLiteral("<u>");
        cur.bold = st.bold;
        cur.italic = st.italic;
        cur.underline = st.underline;
    }
    Style cur;
    QString out;
};

} // namespace

QString RtfToHtml(const QByteArray &rtf)
{
    QStringDecoder cp1252("Windows-1252");
    QVector<Style> stack{Style{}};
    Writer w;
    int pendingSkip = 0; // characters to drop after \uN
    const int n = rtf.size();
    int i = 0;
    while (i < n) {
        const char c = rtf.at(i);
        Style &st = stack.last();
        if (c == '{') {
            stack.append(st);
            ++i;
            if (i + 1 < n && rtf.at(i) == '\\' && rtf.at(i + 1) == '*')
                stack.last().skip = true;
            continue;
        }
        if (c == '}') {
            if (stack.size() > 1)
                stack.removeLast();
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            int j = i;
            while (j < n && rtf.at(j) != '\\' && rtf.at(j) != '{' && rtf.at(j) != '}' && rtf.at(j) != '\r'
                   && rtf.at(j) != '\n')
                ++j;
            QByteArray chunk = rtf.mid(i, j - i);
            if (pendingSkip > 0) {
                const int drop = qMin(pendingSkip, int(chunk.size()));
                chunk.remove(0, drop);
                pendingSkip -= drop;
            }
            w.text(cp1252.decode(chunk), st);
            i = j;
            continue;
        }
        // A control symbol or word.
        ++i;
        if (i >= n)
            break;
        const char d = rtf.at(i);
        if (d == '\\' || d == '{' || d == '}') {
            w.text(QString(QChar(d)), st);
            ++i;
            continue;
        }
        if (d == '\'') {
            bool ok = false;
            const int value = rtf.mid(i + 1, 2).toInt(&ok, 16);
            i += 3;
            if (pendingSkip > 0) {
                --pendingSkip;
                continue;
            }
            if (ok)
                w.text(cp1252.decode(QByteArray(1, char(value))), st);
            continue;
        }
        if (d == '~') {
            w.raw(QStringLiteral("&nbsp;"), st);
            ++i;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(d))) {
            if (d == '\r' || d == '\n')
                w.raw(QStringLiteral("<br>"), st);
            ++i;
            continue;
        }
        int j = i;
        while (j < n && std::isalpha(static_cast<unsigned char>(rtf.at(j))))
            ++j;
        const QByteArray word = rtf.mid(i, j - i);
        int k = j;
        if (k < n && (rtf.at(k) == '-' || std::isdigit(static_cast<unsigned char>(rtf.at(k))))) {
            ++k;
            while (k < n && std::isdigit(static_cast<unsigned char>(rtf.at(k))))
                ++k;
        }
        const QByteArray param = rtf.mid(j, k - j);
        const bool hasParam = !param.isEmpty();
        const int value = param.toInt();
        if (k < n && rtf.at(k) == ' ')
            ++k; // the delimiting space belongs to the control word
        i = k;

        if (isSkippedDestination(word)) {
            st.skip = true;
        } else if (word == "par" || word == "line") {
            w.raw(QStringLiteral("<br>"), st);
        } else if (word == "tab") {
            w.raw(QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;"), st);
        } else if (word == "b") {
            st.bold = !hasParam || value != 0;
        } else if (word == "i") {
            st.italic = !hasParam || value != 0;
        } else if (word == "ul") {
            st.underline = !hasParam || value != 0;
        } else if (word == "ulnone") {
            st.underline = false;
        } else if (word == "plain") {
            st.bold = st.italic = st.underline = false;
        } else if (word == "uc") {
            st.unicodeSkip = value;
        } else if (word == "u") {
            const int code = value < 0 ? value + 65536 : value;
            w.text(QString(QChar(char16_t(code))), st);
            pendingSkip = st.unicodeSkip;
        } else if (word == "emdash") {
            w.text(QString(QChar(0x2014)), st);
        } else if (word == "endash") {
            w.text(QString(QChar(0x2013)), st);
        } else if (word == "bullet") {
            w.text(QString(QChar(0x2022)), st);
        }
    }
    return w.finish();
}
