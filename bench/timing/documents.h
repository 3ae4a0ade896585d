#pragma once

#include <QList>
#include <QString>

namespace timing {

// A generated document: many short CR LF lines, or one long line (a
// minified stylesheet) ended by one CR LF. Umlauts in every line.
struct GeneratedDocument
{
    QString key;   // short name used in the tables and on the command line
    QString label; // what the table shows
    qint64 bytes = 0;
    bool oneLine = false;
};

// The documents of a run, smallest first; --quick leaves out the largest.
QList<GeneratedDocument> documentSpecs(bool quick);

// Writes the document into a folder of its own below root (so that the file
// list shows it alone) and returns the file's path; empty on failure.
QString writeDocument(const QString &root, const GeneratedDocument &document);

// Lines of a written document (CR LF count).
qint64 lineCountOf(const QString &path);

// A folder of empty files, half named *.txt and half *.dat; returns its
// path, empty on failure.
QString writeFileFolder(const QString &root, int files);

} // namespace timing
