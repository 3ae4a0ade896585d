#pragma once

#include <QAccessible>
#include <QMargins>
#include <QWidget>
#include <optional>

namespace forms {

// A top-level window with the forms runtime's contract: created hidden,
// Load runs once, Resize on every size change (and when first shown),
// Unload with a cancel flag when it is closed, MouseMove over its
// background. Left, Top, Width and Height are the outer frame in twips.
class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);

    // Runs Form_Load once; later calls do nothing.
    void Load();

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    // A size below the platform's smallest is raised to it.
    void SetWidth(int twips);
    void SetHeight(int twips);
    // Client area in twips, as the designer gives it.
    void SetClientSize(int widthTwips, int heightTwips);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption) { setWindowTitle(caption); }

    // Shows the window without waiting (non-modal).
    void Show();

    // Frame size around the client area that the platform reports now, or
    // the best estimate before the window is shown.
    QMargins frameMargins() const;

    // What the window is to screen readers: a main window by default.
    virtual QAccessible::Role accessibleRole() const { return QAccessible::Window; }

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload(int &cancel) { Q_UNUSED(cancel); }
    virtual void Form_MouseMove(int button, int shift, double x, double y);

    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRect outerPixels() const;
    void applyOuterSize();
    void applyOuterPos();
    void adoptFrame();

    bool m_loaded = false;
    // The outer geometry last asked for, in twips. It is reported as long as
    // the window still stands there, so values survive the pixel grid
    // exactly; and it is applied again once the window manager's frame is
    // known, so the window does not grow by its frame from run to run.
    QPoint m_twipsPos;
    QSize m_twipsSize;
    bool m_posAsked = false;
    bool m_widthAsked = false;
    bool m_heightAsked = false;
    bool m_frameAdopted = false;
    QMargins m_knownFrame;
};

} // namespace forms
