#pragma once

#include "document/textdocument.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The recovery journal on disk: a header that says which file a pane held
// and how the text the edits apply to is kept, then the edits as they were
// made. Every record carries its length and a digest, so that a journal cut
// off by a crash or a power cut reads up to its last whole record.
namespace document::journal {

// How the text the edits apply to (the base) lies beside the journal.
enum class BaseKind {
    Empty,       // no base file: the text started empty
    FileAsRead,  // a copy of the file's bytes as the pane read them
    FileAsSaved, // a copy of the bytes the pane saved
    Text,        // the text itself, UTF-16 in the machine's byte order
};

struct Header
{
    QString pane;
    QString path;
    support::TextEncoding encoding = support::TextEncoding::Default;
    DiskIdentity identity;
    BaseKind baseKind = BaseKind::Empty;
    // FileAsSaved: the encoding the bytes are in, and the line ends the save
    // left out at the text's end.
    support::TextEncoding savedEncoding = support::TextEncoding::Default;
    QString savedTail;
};

struct Edit
{
    qint64 position = 0;
    qint64 removed = 0;
    QString inserted;
    qint64 timeMs = 0; // when it was made, since the epoch
};

QByteArray headerRecord(const Header &header);
// A Text base kept in the journal itself, right after the header: the
// journal then stands alone, and replacing it replaces base and edits at once.
QByteArray baseRecord(QByteArrayView base);
QByteArray editRecord(const Edit &edit);

struct Contents
{
    Header header;
    // The base, when the journal holds it.
    std::optional<QByteArray> base;
    QList<Edit> edits;
};
// The header and every whole edit after it; nothing without a whole header.
std::optional<Contents> parse(const QByteArray &journal);

// The base text from the base file's bytes, as the pane had it.
QString baseText(const Header &header, const QByteArray &baseBytes);
// The edits applied to the base in turn, up to the first that does not fit
// the text.
QString replay(const QString &text, const QList<Edit> &edits);

} // namespace document::journal
