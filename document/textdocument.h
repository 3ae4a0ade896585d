#pragma once

#include "platform/filestamp.h"
#include "support/textfile.h"

#include <QString>
#include <optional>
#include <span>

namespace document {

// What a look at the file on disk found, against what was last read or
// written there.
enum class DiskState {
    Same,    // the bytes read or written, or still no file where there was none
    Changed, // other bytes, or a file where there was none or none was read
    Missing, // the file read or written is gone
};

// What a document knows of its file on disk.
struct DiskIdentity
{
    // Nothing: never read, or the read failed; what was there then is in
    // `stamp` (size -1 for no regular file). Absent: there was no file.
    // Present: the file was read or written.
    enum class Known { Nothing, Absent, Present };
    Known known = Known::Nothing;
    platform::FileStamp stamp{0, 0, -1, 0};
    quint64 digest = 0; // of the bytes read or written
    // Set when reading the file failed.
    bool readFailed = false;
};

// The clock a stamp's age is told by, in nanoseconds since the epoch; read
// it before taking a stamp, so that it never lies after the stamp.
qint64 stampClockNs();

// One open file as a pane holds it: the path, the encoding the file was read
// in, what the file was on disk when last read or written (its stamp and a
// digest of its bytes), and whether the pane holds changes not yet saved.
// Reading and writing go through the text-file routines; it shows nothing.
class TextDocument
{
public:
    const QString &path() const { return m_path; }
    support::TextEncoding encoding() const { return m_encoding; }
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    const DiskIdentity &identity() const { return m_identity; }

    // Aims the document at a file without reading it; nothing is known of
    // the file until it is read or written.
    void setPath(const QString &path);
    // Aims the document at a file as another run knew it (a recovered
    // journal): a later save then asks if the file changed since.
    void restore(const QString &path, support::TextEncoding encoding, const DiskIdentity &identity);
    // Aims the document at the file and reads it: its text, every line
    // ended by CR LF. Nothing when it cannot be read; the document is aimed
    // at the path all the same, with the default encoding.
    std::optional<QString> load(const QString &path);

    // What a save writes and wrote.
    struct Written
    {
        support::TextEncoding encoding; // UTF-8 where Windows-1252 cannot hold the text
        quint64 digest = 0;
    };
    // Writes the text to the file in the encoding it was read in. Returns
    // what was written when it reached the file; only then is the document
    // unmodified.
    std::optional<Written> save(std::span<const QStringView> pieces);

    // Whether the path was read or written successfully, or named no file
    // when that was tried; false after a failed read of an existing file.
    bool isKnown() const { return m_identity.known != DiskIdentity::Known::Nothing; }
    // Whether the file on disk is still the one read or last written. A
    // file whose stamp differs is read and compared by its digest, so that a
    // touch or a copy of the same bytes is no change.
    DiskState checkDisk();
    // The same in two steps, so that the read can run elsewhere: what the
    // file's stamp alone tells, or nothing when only its bytes can tell;
    // then the verdict on the bytes read (none: they could not be read).
    // Same bytes make their stamp the known one.
    std::optional<DiskState> quickCheck() const;
    // `takenNs` is the clock (stampClockNs) read before the stamp was taken.
    DiskState compareBytes(const platform::FileStamp &stamp, std::optional<quint64> digest, qint64 takenNs);

private:
    void remember(const std::optional<platform::FileStamp> &stamp, QByteArrayView bytes, qint64 takenNs);
    void rememberUnread();

    QString m_path;
    support::TextEncoding m_encoding = support::TextEncoding::Default;
    bool m_modified = false;
    DiskIdentity m_identity;
    // When the stamp was taken: a file written shortly before may be
    // written again within its time stamp's resolution, so until this lies
    // well after its time stamp an equal stamp proves nothing.
    qint64 m_stampTakenNs = 0;
};

} // namespace document
