#pragma once

#include <QString>
#include <QStringList>

namespace timing {

struct RunOptions
{
    bool quick = false; // leaves out the 100 MB file and the 100,000-file folder
    bool csv = false;
    QString folder; // where the generated files go; a temporary folder when empty
    int startupRuns = 5;
    int openRuns = 3;   // fresh processes per document (one for files over 20 MB)
    int findRuns = 3;   // fresh processes for the find rows
    bool plain = false; // syntax colouring and line numbers off
    // The rows to run: groups (startup, documents, listing, find, tokenizer)
    // or documents by their keys; all when empty.
    QStringList only;
    bool runs(const QString &row) const { return only.isEmpty() || only.contains(row); }
};

// The whole timing run: generates the files, runs every measurement in
// fresh child processes and prints the table. Returns the exit code.
int runTiming(const RunOptions &options);

// Only generates the documents (for the peer comparison); prints one
// key=path line per document.
int generateOnly(const QString &folder, bool quick);

} // namespace timing
