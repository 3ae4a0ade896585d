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
    Changed, // other bytes, or a file where there was none
    Missing, // the file read or written is gone
};

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

    // Aims the document at a file without reading it; nothing is known of
    // the file until it is read or written.
    void setPath(const QString &path);
    // Aims the document at the file and reads it: its text, every line
    // ended by CR LF. Nothing when it cannot be read; the document is aimed
    // at the path all the same, with the default encoding.
    std::optional<QString> load(const QString &path);
    // Writes the text to the file in the encoding it was read in. Returns
    // whether it reached the file; only then is the document unmodified.
    [[nodiscard]] bool save(std::span<const QStringView> pieces);

    // Whether the path was read or written successfully, or named no file
    // when that was tried; false after a failed read of an existing file.
    bool isKnown() const { return m_known != Known::Nothing; }
    // Whether the file on disk is still the one read or last written. A
    // file whose stamp differs is read and compared by its digest, so that a
    // touch or a copy of the same bytes is no change.
    DiskState checkDisk();

private:
    enum class Known { Nothing, Absent, Present };
    void remember(const std::optional<platform::FileStamp> &stamp, QByteArrayView bytes);
    void rememberAbsentOrNothing();

    QString m_path;
    support::TextEncoding m_encoding = support::TextEncoding::Default;
    bool m_modified = false;
    Known m_known = Known::Nothing;
    platform::FileStamp m_stamp;
    quint64 m_digest = 0;
    // When the stamp was taken: a file written shortly before may be
    // written again within its time stamp's resolution, so until this lies
    // well after its time stamp an equal stamp proves nothing.
    qint64 m_stampTakenNs = 0;
};

} // namespace document
