#include "document/textdocument.h"

#include "document/contentdigest.h"
#include "platform/regularfile.h"
#include "platform/safewrite.h"

#include <QDateTime>
#include <QFileInfo>

namespace document {

namespace {

using Known = DiskIdentity::Known;

// Wider than the coarsest time stamps a file system keeps (two seconds).
constexpr qint64 stampResolutionNs = 2'000'000'000;

qint64 nowNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1'000'000;
}

bool nothingAt(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

} // namespace

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
    setPath(path);
    platform::FileStamp stamp;
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, nullptr, &stamp);
    if (!bytes) {
        rememberUnread();
        m_identity.readFailed = m_identity.known == Known::Nothing;
        return std::nullopt;
    }
    remember(stamp, *bytes);
    return support::textFromFileBytes(*bytes, &m_encoding);
}

std::optional<TextDocument::Written> TextDocument::save(std::span<const QStringView> pieces)
{
    Written written;
    const QByteArray bytes = support::textFileBytes(pieces, m_encoding, &written.encoding);
    if (!platform::writeFileSafely(m_path, bytes))
        return std::nullopt;
    remember(platform::fileStamp(m_path), bytes);
    written.digest = m_identity.digest;
    m_modified = false;
    return written;
}

void TextDocument::remember(const std::optional<platform::FileStamp> &stamp, QByteArrayView bytes)
{
    m_identity = {};
    m_identity.digest = contentDigest(bytes);
    if (!stamp)
        return;
    m_identity.known = Known::Present;
    m_identity.stamp = *stamp;
    m_stampTakenNs = nowNs();
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
    const bool settled = m_stampTakenNs - m_identity.stamp.modifiedNs > stampResolutionNs;
    if (*now == m_identity.stamp && settled)
        return DiskState::Same;
    if (now->size != m_identity.stamp.size)
        return DiskState::Changed;
    return std::nullopt;
}

DiskState TextDocument::compareBytes(const platform::FileStamp &stamp, std::optional<quint64> digest)
{
    if (m_identity.known != Known::Present || digest != m_identity.digest)
        return DiskState::Changed;
    // The same bytes: a touch, or a copy put in place. What is there now is
    // what the pane shows.
    m_identity.stamp = stamp;
    m_stampTakenNs = nowNs();
    return DiskState::Same;
}

DiskState TextDocument::checkDisk()
{
    if (const std::optional<DiskState> known = quickCheck())
        return *known;
    platform::FileStamp stamp;
    const std::optional<QByteArray> bytes = platform::readRegularFile(m_path, nullptr, &stamp);
    return compareBytes(stamp, bytes ? std::optional(contentDigest(*bytes)) : std::nullopt);
}

} // namespace document
