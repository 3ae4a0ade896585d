// Timing of the multi-line text box on big documents and very long lines:
// SetText until the first paint, one typed character at the start, middle
// and end until repainted, Ctrl+End, and the peak memory of the process.
// Run from a Release build: bench_textbox [--small]

#include "forms/textbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

// Lines of about 47 characters with umlauts, CR LF between them.
QString manyLines(int lines)
{
    static const QString words[] = {QStringLiteral("Grüße"), QStringLiteral("aus"), QStringLiteral("der"),
                                    QStringLiteral("Datei"), QStringLiteral("mit"), QStringLiteral("Zeilen"),
                                    QStringLiteral("Äpfel"), QStringLiteral("und"), QStringLiteral("Öl")};
    QString text;
    text.reserve(qsizetype(lines) * 50);
    for (int line = 0; line < lines; ++line) {
        int length = 0;
        for (int w = line; length < 44; ++w) {
            const QString &word = words[w % 9];
            text += word;
            text += u' ';
            length += int(word.size()) + 1;
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

// Minified stylesheet: one line, few blanks.
QString oneLineCss(qsizetype size)
{
    const QString rule = QStringLiteral(".grüße-%1{margin:0 auto;color:#abc;font-family:Arial}");
    QString text;
    text.reserve(size + 100);
    for (int i = 0; text.size() < size; ++i)
        text += rule.arg(i);
    text.truncate(size);
    return text;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double elapsedMs(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void press(QWidget *target, int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &up);
}

struct Stats
{
    double median;
    double maximum;
};

Stats typeAt(forms::TextBox &box, int position)
{
    box.SetSelStart(position);
    box.viewport()->repaint();
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        press(&box, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        box.viewport()->repaint();
        times.push_back(elapsedMs(timer));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void measure(const char *name, QString text)
{
    qsizetype utf8 = 0;
    for (const QChar c : text)
        utf8 += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : c.isSurrogate() ? 2 : 3;
    const double bytes = utf8 / 1e6;
    forms::TextBox box;
    box.SetDesignFont(QStringLiteral("Fixedsys"), 9);
    box.resize(900, 500);
    box.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    box.SetText(text);
    box.viewport()->repaint();
    const double open = elapsedMs(timer);
    // The window keeps no copy of a text it has put into the box.
    text = QString();
    const double openPeak = peakMegabytes();

    const Stats start = typeAt(box, 0);
    const Stats middle = typeAt(box, box.Length() / 2);
    const Stats end = typeAt(box, box.Length());

    box.SetSelStart(0);
    box.viewport()->repaint();
    timer.start();
    press(&box, Qt::Key_End, Qt::ControlModifier, QString());
    box.viewport()->repaint();
    const double ctrlEnd = elapsedMs(timer);

    std::printf("| %-24s | %7.1f | %8.1f | %6.2f / %6.2f | %6.2f / %6.2f | %6.2f / %6.2f | %7.1f | %8.0f |\n", name,
                bytes, open, start.median, start.maximum, middle.median, middle.maximum, end.median, end.maximum,
                ctrlEnd, std::max(openPeak, peakMegabytes()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool small = app.arguments().contains(QStringLiteral("--small"));
    std::printf("| text | MB (UTF-8) | open to first paint ms | key at start median/max ms | middle | end | "
                "Ctrl+End ms | peak RSS MB |\n|---|---|---|---|---|---|---|---|\n");
    measure("1 MB on one line", oneLineCss(1000000));
    measure("5 MB on one line", oneLineCss(5000000));
    measure("10 MB, 213,000 lines", manyLines(213000));
    if (!small)
        measure("100 MB, 2.13 M lines", manyLines(2130000));
    return 0;
}
