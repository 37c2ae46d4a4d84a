// How fast LibreOffice's pages are made fit to publish: the filtered page's rewrite and
// the title and alt edits of the other formats, on a large page of the kind
// LibreOffice writes, and on deeply nested markup.
#include "engine/web/CleanPage.h"
#include "engine/web/TitleAndAlt.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <functional>

namespace {

QByteArray largePage(int paragraphs)
{
    QByteArray body;
    for (int i = 0; i < paragraphs; ++i)
        body += "<p class=\"western\" align=\"justify\" style=\"line-height: 100%; margin-bottom: 0in\">"
                "<font color=\"#ff0000\"><font size=\"4\" style=\"font-size: 14pt\">Paragraph "
                + QByteArray::number(i) + " of the quarterly report</font></font> with a field "
                "<sdfield type=PAGE subtype=RANDOM format=PAGE>7</sdfield> and a picture "
                "<img src=\"page_html_a.png\" name=\"Picture\" align=\"bottom\" width=\"40\" height=\"30\" border=\"0\"/></p>\n"
                "<table width=\"454\" cellpadding=\"4\" cellspacing=\"0\"><tr><td bgcolor=\"#ccffcc\">cell</td></tr></table>\n";
    return "<!DOCTYPE html>\n<html><head><meta name=\"author\" content=\"A\"/><title></title>"
           "<style>p { text-align: left }</style></head>\n<body lang=\"en-GB\" text=\"#000000\" link=\"#000080\">\n"
           + body + "</body></html>\n";
}

void measure(QTextStream& out, const char* what, const QByteArray& page, const std::function<QByteArray()>& work)
{
    QElapsedTimer timer;
    timer.start();
    const QByteArray result = work();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    out << what << ": " << page.size() / 1024 << " KiB in " << QString::number(seconds * 1000, 'f', 1) << " ms ("
        << QString::number(double(page.size()) / 1048576.0 / seconds, 'f', 1) << " MiB/s), "
        << result.size() / 1024 << " KiB out\n";
    out.flush();
}

} // namespace

int main()
{
    QTextStream out(stdout);
    for (int paragraphs : {1000, 10000, 40000}) {
        const QByteArray page = largePage(paragraphs);
        out << paragraphs << " paragraphs and tables\n";
        measure(out, "  filtered page rewrite", page, [&] { return cleanPage(page, QStringLiteral("Report")); });
        measure(out, "  title and alt edits  ", page, [&] { return withTitleAndAlt(page, QStringLiteral("Report")); });
    }
    for (int depth : {1000, 10000, 100000}) {
        const QByteArray page = "<body>" + QByteArray("<span><font>").repeated(depth) + "deep</body>";
        out << "nesting " << depth << " deep\n";
        measure(out, "  filtered page rewrite", page, [&] { return cleanPage(page, QStringLiteral("Deep")); });
    }
    return 0;
}
