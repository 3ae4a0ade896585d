#include "document/journalformat.h"

#include "document/contentdigest.h"
#include "textengine/model/gapbuffer.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace document::journal {

namespace {

constexpr quint32 headerType = 0x4A574248; // "HBWJ"
constexpr quint32 editType = 0x4A574245;   // "EBWJ"
constexpr quint32 baseType = 0x4A574242;   // "BBWJ"
constexpr int formatVersion = 1;

// A record: type, payload length, payload, and the digest of all three.
QByteArray record(quint32 type, QByteArrayView payload)
{
    QByteArray out;
    out.reserve(payload.size() + 16);
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << type << quint32(payload.size());
    out.append(payload);
    const quint64 digest = contentDigest(out);
    QDataStream tail(&out, QIODevice::Append);
    tail.setByteOrder(QDataStream::LittleEndian);
    tail << digest;
    return out;
}

// The next whole, undamaged record at `offset`, which moves past it.
std::optional<std::pair<quint32, QByteArray>> nextRecord(const QByteArray &journal, qsizetype &offset)
{
    if (journal.size() - offset < 8)
        return std::nullopt;
    const auto *at = journal.constData() + offset;
    const quint32 type = qFromLittleEndian<quint32>(at);
    const quint32 length = qFromLittleEndian<quint32>(at + 4);
    if (journal.size() - offset - 8 < qsizetype(length) + 8)
        return std::nullopt;
    const quint64 digest = qFromLittleEndian<quint64>(at + 8 + length);
    if (contentDigest(QByteArrayView(at, 8 + length)) != digest)
        return std::nullopt;
    offset += 16 + length;
    return std::pair{type, QByteArray(at + 8, length)};
}

QDataStream &operator<<(QDataStream &stream, const DiskIdentity &identity)
{
    return stream << qint32(identity.known) << identity.stamp.device << identity.stamp.inode << identity.stamp.size
                  << identity.stamp.modifiedNs << identity.digest << identity.readFailed;
}

QDataStream &operator>>(QDataStream &stream, DiskIdentity &identity)
{
    qint32 known = 0;
    stream >> known >> identity.stamp.device >> identity.stamp.inode >> identity.stamp.size >> identity.stamp.modifiedNs
        >> identity.digest >> identity.readFailed;
    identity.known = DiskIdentity::Known(known);
    return stream;
}

} // namespace

QByteArray headerRecord(const Header &header)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << qint32(formatVersion) << header.pane << header.path << qint32(header.encoding) << header.identity
           << qint32(header.baseKind) << qint32(header.savedEncoding) << header.savedTail;
    return record(headerType, payload);
}

QByteArray baseRecord(QByteArrayView base)
{
    return record(baseType, base);
}

QByteArray editRecord(const Edit &edit)
{
    QByteArray payload;
    payload.reserve(24 + 4 + 2 * edit.inserted.size());
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << edit.position << edit.removed << edit.timeMs << edit.inserted;
    return record(editType, payload);
}

std::optional<Contents> parse(const QByteArray &journal)
{
    qsizetype offset = 0;
    const auto first = nextRecord(journal, offset);
    if (!first || first->first != headerType)
        return std::nullopt;
    Contents contents;
    {
        QDataStream stream(first->second);
        stream.setVersion(QDataStream::Qt_6_0);
        qint32 version = 0, encoding = 0, baseKind = 0, savedEncoding = 0;
        Header &header = contents.header;
        stream >> version >> header.pane >> header.path >> encoding >> header.identity >> baseKind >> savedEncoding
            >> header.savedTail;
        if (version != formatVersion || stream.status() != QDataStream::Ok || baseKind < 0
            || baseKind > qint32(BaseKind::Text))
            return std::nullopt;
        header.encoding = support::TextEncoding(encoding);
        header.baseKind = BaseKind(baseKind);
        header.savedEncoding = support::TextEncoding(savedEncoding);
    }
    const qsizetype afterHeader = offset;
    if (const auto base = nextRecord(journal, offset); base && base->first == baseType)
        contents.base = base->second;
    else
        offset = afterHeader;
    while (const auto next = nextRecord(journal, offset)) {
        if (next->first != editType)
            break;
        QDataStream stream(next->second);
        stream.setVersion(QDataStream::Qt_6_0);
        Edit edit;
        stream >> edit.position >> edit.removed >> edit.timeMs >> edit.inserted;
        if (stream.status() != QDataStream::Ok)
            break;
        contents.edits.append(std::move(edit));
    }
    return contents;
}

QString baseText(const Header &header, const QByteArray &baseBytes)
{
    switch (header.baseKind) {
    case BaseKind::Empty:
        return QString();
    case BaseKind::FileAsRead:
        // The clean-ups of a pane that reads a file.
        return support::NormalizeLineEnds(support::TabsToSpaces(support::textFromFileBytes(baseBytes)));
    case BaseKind::FileAsSaved: {
        // A save writes the text without its trailing line ends, then CR LF.
        QString text = support::decodeTextAs(baseBytes, header.savedEncoding);
        if (text.endsWith(QLatin1String("\r\n")))
            text.chop(2);
        return text + header.savedTail;
    }
    case BaseKind::Text:
        return QString(reinterpret_cast<const QChar *>(baseBytes.constData()), baseBytes.size() / 2);
    }
    return QString();
}

QString replay(const QString &text, const QList<Edit> &edits)
{
    // Edits lie near each other as they were typed: a gap buffer moves
    // little text for each, where replacing in one string would move it all.
    textengine::GapBuffer buffer;
    buffer.assign(text);
    for (const Edit &edit : edits) {
        if (edit.position < 0 || edit.removed < 0 || edit.position + edit.removed > buffer.size())
            break;
        buffer.replace(qsizetype(edit.position), qsizetype(edit.removed), edit.inserted);
    }
    return buffer.text();
}

} // namespace document::journal
