#pragma once

#include <QString>
#include <QVariantHash>
#include <QWidget>

class QLabel;
class VbTimer;

// The program's own push button: a flat grey rectangle with a centred caption.
// It brightens while the mouse is over it, darkens while it is pressed, and
// fades between these grey levels in steps of 5 on a 50 ms timer. Hosts handle
// Click; DblClick is raised for the second press of a double-click.
class ucCmdBtn : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY PropertyChanged)
public:
    // Grey levels of the back colour.
    static constexpr int kNormal = 235;
    static constexpr int kHover = 255;
    static constexpr int kPressed = 224;
    static constexpr int kStep = 5;
    static constexpr int kFadeMs = 50;

    explicit ucCmdBtn(QWidget *parent = nullptr);
    ucCmdBtn(const QString &caption, QWidget *parent);

    QString Caption() const;
    void setCaption(const QString &nCap);

    // The stored properties of the host's form: "Caption" (absent: empty).
    void ReadProperties(const QVariantHash &propBag);
    void WriteProperties(QVariantHash &propBag) const;

    // The current back colour, always a grey RGB(g, g, g) as 0x00BBGGRR.
    long BackColor() const;
    // The current grey level g and the level the fade moves towards.
    int GreyLevel() const { return m_grey; }
    int ClrTo() const { return m_clrTo; }

    // Child controls.
    QLabel *lblCaption = nullptr;
    VbTimer *tmrClr = nullptr;

signals:
    void Click();
    void DblClick();
    // The container is told that a stored property changed.
    void PropertyChanged();

protected:
    void paintEvent(QPaintEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *e) override;

private:
    void Initialize();
    void setGrey(int g);
    void startFade(int target);
    void tmrClr_Timer();
    void centreCaption();

    int m_grey = kNormal;
    int m_clrTo = kNormal;
    // The press that began a double-click ends without a second Click.
    bool m_dblClickPress = false;
};
