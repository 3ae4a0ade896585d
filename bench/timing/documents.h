#pragma once

#include <QList>
#include <QString>

namespace timing {

// What a generated document holds.
enum class DocumentKind {
    GermanLines,  // many short CR LF lines with umlauts
    MinifiedCss,  // one long line of stylesheet rules, ended by one CR LF
    RightToLeft,  // one long line of Arabic and Hebrew words, ended by one CR LF
    MixedScripts, // lines of German with emoji, Chinese and Japanese, Hebrew in turn
    FindLines,    // lines of German and English words; the first 1,000,000 hold "Leuchtturm"
    HtmlLines,    // lines of markup with references and comments, now and then a style or script element
};

struct GeneratedDocument
{
    QString key;   // short name used in the tables and on the command line
    QString label; // what the table shows
    qint64 bytes = 0;
    DocumentKind kind = DocumentKind::GermanLines;

    bool oneLine() const { return kind == DocumentKind::MinifiedCss || kind == DocumentKind::RightToLeft; }
};

// The documents of a run, smallest first; --quick leaves out the largest.
QList<GeneratedDocument> documentSpecs(bool quick);

// The document the find rows search: 100 MiB of lines (10 MiB with quick).
GeneratedDocument findDocument(bool quick);

// Writes the document into a folder of its own below root (so that the file
// list shows it alone) and returns the file's path; empty on failure.
QString writeDocument(const QString &root, const GeneratedDocument &document);

// Lines of a written document (CR LF count).
qint64 lineCountOf(const QString &path);

// A folder of empty files, half named *.txt and half *.dat; returns its
// path, empty on failure.
QString writeFileFolder(const QString &root, int files);

} // namespace timing
