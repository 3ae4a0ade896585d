// The editor's load and save sequences and the umlaut conversion on large
// texts, beside the plain cost of one read() and one write() of the same
// bytes, so the figures can be read as ratios.
#include "support/textfile.h"
#include "support/umlauts.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using namespace support;

namespace {

constexpr int lineCount = 200000;
constexpr qsizetype singleLineBytes = 5 * 1024 * 1024;

// 200,000 lines of 53 bytes in UTF-8 (10 MB), umlauts in every line.
QString generatedText()
{
    QString text;
    text.reserve(lineCount * 47);
    for (int i = 0; i < lineCount; ++i)
        text += QStringLiteral("Zeile %1: Grüße aus Köln, Äpfel über Öl x\r\n").arg(i, 6, 10, QLatin1Char('0'));
    return text;
}

// 5 MB in UTF-8 without a line break.
QString generatedSingleLine()
{
    const QString piece = QStringLiteral("Grüße aus Köln über Öl; ");
    const qsizetype pieceBytes = piece.toUtf8().size();
    QString text;
    text.reserve(singleLineBytes);
    for (qsizetype bytes = 0; bytes < singleLineBytes; bytes += pieceBytes)
        text += piece;
    return text;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

struct Fixture
{
    Fixture()
    {
        const QString text = generatedText();
        utf8Path = dir.filePath(QStringLiteral("utf8.txt"));
        ansiPath = dir.filePath(QStringLiteral("ansi.txt"));
        singleLinePath = dir.filePath(QStringLiteral("oneline.txt"));
        outputPath = dir.filePath(QStringLiteral("out.txt"));
        writeBytes(utf8Path, encodeText(text, TextEncoding::Utf8));
        writeBytes(ansiPath, encodeText(text, TextEncoding::Windows1252));
        writeBytes(singleLinePath, encodeText(generatedSingleLine(), TextEncoding::Utf8));
    }

    QTemporaryDir dir;
    QString utf8Path;
    QString ansiPath;
    QString singleLinePath;
    QString outputPath;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

const QString &pathFor(int which)
{
    switch (which) {
    case 0:
        return fixture().utf8Path;
    case 1:
        return fixture().ansiPath;
    default:
        return fixture().singleLinePath;
    }
}

const char *labelFor(int which)
{
    switch (which) {
    case 0:
        return "10 MB UTF-8, 200000 lines";
    case 1:
        return "10 MB Windows-1252, 200000 lines";
    default:
        return "5 MB UTF-8, one line";
    }
}

QString loadPipeline(const QString &path, TextEncoding *encoding)
{
    return NormalizeLineEnds(TabsToSpaces(ReadTextFile(path, encoding)));
}

void plainRead(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(pathFor(int(state.range(0))));
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        const off_t size = ::lseek(fd, 0, SEEK_END);
        QByteArray bytes(size, Qt::Uninitialized);
        const ssize_t got = ::pread(fd, bytes.data(), size_t(size), 0);
        ::close(fd);
        if (got != size)
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetLabel(labelFor(int(state.range(0))));
    state.SetBytesProcessed(state.iterations() * QFile(pathFor(int(state.range(0)))).size());
}

void load(benchmark::State &state)
{
    const QString &path = pathFor(int(state.range(0)));
    for (auto _ : state) {
        TextEncoding encoding = TextEncoding::Default;
        const QString text = loadPipeline(path, &encoding);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetLabel(labelFor(int(state.range(0))));
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void plainWrite(benchmark::State &state, bool sync)
{
    QFile source(pathFor(int(state.range(0))));
    if (!source.open(QIODevice::ReadOnly))
        state.SkipWithError("no source");
    const QByteArray bytes = source.readAll();
    const QByteArray out = QFile::encodeName(fixture().outputPath);
    for (auto _ : state) {
        const int fd = ::open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const ssize_t written = ::write(fd, bytes.constData(), size_t(bytes.size()));
        if (sync)
            ::fsync(fd);
        ::close(fd);
        if (written != bytes.size())
            state.SkipWithError("short write");
    }
    state.SetLabel(labelFor(int(state.range(0))));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void plainWriteOnly(benchmark::State &state)
{
    plainWrite(state, false);
}

void plainWriteWithFsync(benchmark::State &state)
{
    plainWrite(state, true);
}

void save(benchmark::State &state)
{
    TextEncoding encoding = TextEncoding::Default;
    const QString loaded = loadPipeline(pathFor(int(state.range(0))), &encoding);
    for (auto _ : state) {
        state.PauseTiming();
        QString text = loaded;
        text.detach(); // the pane's own text, not shared with anything
        state.ResumeTiming();
        if (!replaceTextFile(fixture().outputPath, TrimTrailingLineEnds(text), encoding))
            state.SkipWithError("write failed");
    }
    state.SetLabel(labelFor(int(state.range(0))));
    state.SetBytesProcessed(state.iterations() * QFile(fixture().outputPath).size());
}

void umlautsToEntities(benchmark::State &state)
{
    TextEncoding encoding = TextEncoding::Default;
    const QString text = loadPipeline(fixture().utf8Path, &encoding);
    for (auto _ : state) {
        const QString converted = UmlautsToEntities(text);
        benchmark::DoNotOptimize(converted.constData());
    }
    state.SetLabel("10 MB UTF-8, 200000 lines");
    state.SetBytesProcessed(state.iterations() * QFile(fixture().utf8Path).size());
}

} // namespace

BENCHMARK(plainRead)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(load)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(plainWriteOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(plainWriteWithFsync)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(save)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(umlautsToEntities)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
