#include "bench/timing/barewindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace timing {

BareWindow::BareWindow(const QSize &size, const QString &folder)
{
    resize(size);
    setWindowTitle(QStringLiteral("Bare Qt window"));
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/icons/brenwick-32.png"), "PNG")));
    // The editor's three faces, so both pay for the same font look-ups.
    QFont arial(QStringLiteral("Arial"), 9);
    arial.setStyleHint(QFont::SansSerif);
    QFont bold = arial;
    bold.setPointSizeF(11.25);
    bold.setBold(true);
    QFont monospace(QStringLiteral("monospace"), 9);
    monospace.setStyleHint(QFont::TypeWriter);
    const int left = 8;
    const int column = 165;
    const int right = size.width() - column - 3 * left;

    auto *drives = new QComboBox(this);
    drives->setFont(arial);
    drives->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), QDir::rootPath());
    drives->setGeometry(left, 28, column, 22);

    auto *folders = new QListWidget(this);
    QDir dir(folder);
    QStringList chain;
    for (QDir up = dir; !up.isRoot(); up.cdUp())
        chain.prepend(up.dirName());
    folders->setFont(arial);
    const QIcon openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const QString &name : chain)
        folders->addItem(new QListWidgetItem(openFolder, name));
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        folders->addItem(new QListWidgetItem(closedFolder, name));
    folders->setGeometry(left, 54, column, 150);

    auto *files = new QListWidget(this);
    files->setUniformItemSizes(true);
    files->setFont(arial);
    files->addItems(dir.entryList(QDir::Files | QDir::Hidden, QDir::Name));
    files->setGeometry(left, 214, column, size.height() - 250);

    auto *splitH = new QLabel(this);
    splitH->setGeometry(left + column, 28, 9, size.height() - 40);
    auto *splitV = new QLabel(this);
    splitV->setGeometry(left, 206, column, 8);

    auto *pattern = new QLineEdit(QStringLiteral("*.css;*.txt"), this);
    pattern->setFont(monospace);
    pattern->setGeometry(left + 20, size.height() - 30, column - 20, 22);

    const int textLeft = left + column + 12;
    auto *document = new QPlainTextEdit(this);
    document->setFont(monospace);
    document->setGeometry(textLeft, 28, right, size.height() / 2 - 40);
    auto *stylesheet = new QPlainTextEdit(this);
    stylesheet->setFont(monospace);
    stylesheet->setGeometry(textLeft, size.height() / 2, right, size.height() / 2 - 40);

    auto *buttons = new QFrame(this);
    buttons->setGeometry(textLeft, size.height() / 2 - 10, right, 8);
    auto *buttonsCss = new QFrame(this);
    buttonsCss->setGeometry(textLeft, size.height() - 38, right, 30);

    const QStringList captions = {QStringLiteral("Speichern"), QStringLiteral("Abbrechen"),
                                  QStringLiteral("HTML"),      QStringLiteral("CSS"),
                                  QStringLiteral("Umlaute"),   QStringLiteral("2"),
                                  QStringLiteral("q"),         QStringLiteral("Speichern"),
                                  QStringLiteral("Abbrechen"), QString()};
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new QPushButton(captions.at(i), this);
        button->setGeometry(left + i * 62, 2, 60, 22);
        button->setFont(bold);
    }

    const QStringList checks
        = {QStringLiteral("grün"), QStringLiteral("dunkel"), QString(), QStringLiteral("ans Ende")};
    for (int i = 0; i < checks.size(); ++i) {
        auto *check = new QCheckBox(checks.at(i), this);
        check->setGeometry(textLeft + i * 80, size.height() - 30, 78, 20);
        check->setFont(arial);
    }
}

} // namespace timing
