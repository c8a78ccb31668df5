#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>

// The plain controls the windows are built from. Each reports mouse buttons
// the way the handlers expect them: 1 left, 2 right, 4 middle; the shift state
// 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips.
int VbButton(Qt::MouseButton b);
int VbButtons(Qt::MouseButtons b);
int VbShift(Qt::KeyboardModifiers m);

// A picture box: a plain area with a background colour and an optional
// picture drawn at its top-left corner.
class VbPictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit VbPictureBox(QWidget *parent = nullptr);
    void setBackColor(long vbColor);
    long backColor() const { return m_back; }
    void setPicture(const QPixmap &p);
    QPixmap picture() const { return m_picture; }

signals:
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    void dblClick();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    long m_back = 0xFFFFFF;
    QPixmap m_picture;
};

// An image or a label: shows a picture or a text, reports the mouse. Its
// text is plain text, never markup: labels show page titles and addresses.
class VbImage : public QLabel
{
    Q_OBJECT
public:
    explicit VbImage(QWidget *parent = nullptr);
    // Sets the picture and sizes the image to it (as an image control does).
    void setPictureAutoSize(const QPixmap &p);
    void setForeColor(long vbColor);
    void setBackColor(long vbColor);
    void setTransparentBack();

signals:
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    void clicked();
    void dblClick();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
};

// A tool tip that shows text as it is: Qt renders a tip that looks like markup
// as rich text, so such a text is escaped and kept on its lines.
QString PlainToolTip(const QString &text);

// The controls' font: "微软雅黑" where installed, else the desktop's CJK sans.
QFont UiFont(double pointSize = 9, bool bold = false);
