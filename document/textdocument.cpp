#include "document/textdocument.h"

#include "document/contentdigest.h"
#include "platform/regularfile.h"
#include "platform/safewrite.h"

#include <QDateTime>
#include <QFileInfo>

namespace document {

namespace {

// Wider than the coarsest time stamps a file system keeps (two seconds).
constexpr qint64 stampResolutionNs = 2'000'000'000;

qint64 nowNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1'000'000;
}

bool nothingAt(const QString &path)
{
    return !QFileInfo(path).exists() && !QFileInfo(path).isSymLink();
}

} // namespace

void TextDocument::setPath(const QString &path)
{
    m_path = path;
    m_encoding = support::TextEncoding::Default;
    m_known = Known::Nothing;
}

std::optional<QString> TextDocument::load(const QString &path)
{
    setPath(path);
    platform::FileStamp stamp;
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, nullptr, &stamp);
    if (!bytes) {
        rememberAbsentOrNothing();
        return std::nullopt;
    }
    remember(stamp, *bytes);
    return support::textFromFileBytes(*bytes, &m_encoding);
}

bool TextDocument::save(std::span<const QStringView> pieces)
{
    const QByteArray bytes = support::textFileBytes(pieces, m_encoding);
    if (!platform::writeFileSafely(m_path, bytes))
        return false;
    remember(platform::fileStamp(m_path), bytes);
    m_modified = false;
    return true;
}

void TextDocument::remember(const std::optional<platform::FileStamp> &stamp, QByteArrayView bytes)
{
    if (!stamp) {
        m_known = Known::Nothing;
        return;
    }
    m_known = Known::Present;
    m_stamp = *stamp;
    m_digest = contentDigest(bytes);
    m_stampTakenNs = nowNs();
}

void TextDocument::rememberAbsentOrNothing()
{
    m_known = nothingAt(m_path) ? Known::Absent : Known::Nothing;
}

DiskState TextDocument::checkDisk()
{
    const std::optional<platform::FileStamp> now = platform::fileStamp(m_path);
    switch (m_known) {
    case Known::Nothing:
        return DiskState::Changed;
    case Known::Absent:
        return nothingAt(m_path) ? DiskState::Same : DiskState::Changed;
    case Known::Present:
        break;
    }
    if (!now)
        return nothingAt(m_path) ? DiskState::Missing : DiskState::Changed;
    const bool settled = m_stampTakenNs - m_stamp.modifiedNs > stampResolutionNs;
    if (*now == m_stamp && settled)
        return DiskState::Same;
    if (now->size != m_stamp.size)
        return DiskState::Changed;
    platform::FileStamp readStamp;
    const std::optional<QByteArray> bytes = platform::readRegularFile(m_path, nullptr, &readStamp);
    if (!bytes || contentDigest(*bytes) != m_digest)
        return DiskState::Changed;
    // The same bytes: a touch, or a copy put in place. What is there now is
    // what the pane shows.
    remember(readStamp, *bytes);
    return DiskState::Same;
}

} // namespace document
