#include "document/textdocument.h"

#include "document/contentdigest.h"
#include "platform/regularfile.h"
#include "platform/safewrite.h"

#include <QDateTime>
#include <QFileInfo>

namespace document {

namespace {

using Known = DiskIdentity::Known;

// How long after its time stamp a file may still be written again without
// the stamp changing. A stamp with a fraction of a second comes from a file
// system that keeps them (nanoseconds, or ten milliseconds at the coarsest),
// whose stamps follow the kernel's clock tick: 50 ms is several ticks. One
// without may come from one that keeps two seconds.
qint64 stampResolutionNs(const platform::FileStamp &stamp)
{
    constexpr qint64 second = 1'000'000'000;
    return stamp.modifiedNs % second != 0 ? 50'000'000 : 2 * second;
}

bool nothingAt(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

} // namespace

qint64 stampClockNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1'000'000;
}

void TextDocument::setPath(const QString &path)
{
    m_path = path;
    m_encoding = support::TextEncoding::Default;
    rememberUnread();
}

void TextDocument::rememberUnread()
{
    m_identity = {};
    if (nothingAt(m_path))
        m_identity.known = Known::Absent;
    else if (const std::optional<platform::FileStamp> stamp = platform::fileStamp(m_path))
        m_identity.stamp = *stamp;
}

void TextDocument::restore(const QString &path, support::TextEncoding encoding, const DiskIdentity &identity)
{
    m_path = path;
    m_encoding = encoding;
    m_identity = identity;
    // Proved by nothing but a digest from now on.
    m_stampTakenNs = 0;
}

std::optional<QString> TextDocument::load(const QString &path)
{
    // Read again, the file keeps its encoding should the read fail: the
    // text on screen is still in it.
    const support::TextEncoding encoding = path == m_path ? m_encoding : support::TextEncoding::Default;
    setPath(path);
    platform::FileStamp stamp;
    const qint64 takenNs = stampClockNs();
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, nullptr, &stamp);
    if (!bytes) {
        m_encoding = encoding;
        rememberUnread();
        m_identity.readFailed = m_identity.known == Known::Nothing;
        return std::nullopt;
    }
    remember(stamp, *bytes, takenNs);
    return support::textFromFileBytes(*bytes, &m_encoding);
}

std::optional<TextDocument::Written> TextDocument::save(std::span<const QStringView> pieces)
{
    Written written;
    const QByteArray bytes = support::textFileBytes(pieces, m_encoding, &written.encoding);
    if (!platform::writeFileSafely(m_path, bytes))
        return std::nullopt;
    const qint64 takenNs = stampClockNs();
    remember(platform::fileStamp(m_path), bytes, takenNs);
    written.digest = m_identity.digest;
    m_modified = false;
    return written;
}

void TextDocument::remember(const std::optional<platform::FileStamp> &stamp, QByteArrayView bytes, qint64 takenNs)
{
    m_identity = {};
    m_identity.digest = contentDigest(bytes);
    if (!stamp)
        return;
    m_identity.known = Known::Present;
    m_identity.stamp = *stamp;
    m_stampTakenNs = takenNs;
}

std::optional<DiskState> TextDocument::quickCheck() const
{
    const std::optional<platform::FileStamp> now = platform::fileStamp(m_path);
    switch (m_identity.known) {
    case Known::Nothing:
        // What could not be read counts as changed once a readable file
        // other than the one seen stands there.
        return !now || *now == m_identity.stamp ? DiskState::Same : DiskState::Changed;
    case Known::Absent:
        return nothingAt(m_path) ? DiskState::Same : DiskState::Changed;
    case Known::Present:
        break;
    }
    if (!now)
        return nothingAt(m_path) ? DiskState::Missing : DiskState::Changed;
    const bool settled = m_stampTakenNs - m_identity.stamp.modifiedNs > stampResolutionNs(m_identity.stamp);
    if (*now == m_identity.stamp && settled)
        return DiskState::Same;
    if (now->size != m_identity.stamp.size)
        return DiskState::Changed;
    return std::nullopt;
}

DiskState TextDocument::compareBytes(const platform::FileStamp &stamp, std::optional<quint64> digest, qint64 takenNs)
{
    if (m_identity.known != Known::Present || digest != m_identity.digest)
        return DiskState::Changed;
    // The same bytes: a touch, or a copy put in place. What is there now is
    // what the pane shows.
    m_identity.stamp = stamp;
    m_stampTakenNs = takenNs;
    return DiskState::Same;
}

DiskState TextDocument::checkDisk()
{
    if (const std::optional<DiskState> known = quickCheck())
        return *known;
    platform::FileStamp stamp;
    const qint64 takenNs = stampClockNs();
    const std::optional<QByteArray> bytes = platform::readRegularFile(m_path, nullptr, &stamp);
    return compareBytes(stamp, bytes ? std::optional(contentDigest(*bytes)) : std::nullopt, takenNs);
}

} // namespace document
