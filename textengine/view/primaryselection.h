#pragma once

#include <QMimeData>

namespace textengine {

class TextContent;

// A view's selection offered as the primary selection (X11): the text is
// copied only when another program asks for it, or at the latest when the
// view is about to change its text, so that selecting a whole huge
// document costs nothing until it is pasted somewhere.
class PrimarySelection : public QMimeData
{
    Q_OBJECT
public:
    PrimarySelection(const TextContent &content, int from, int to);
    // Takes the text now: the content is about to change or go away.
    void keep();

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    QString selectedText() const;

    const TextContent *m_content;
    int m_from;
    int m_to;
    QString m_text;
};

} // namespace textengine
