#pragma once

#include <QWidget>

class VbImage;
class VbPictureBox;
class VbTimer;

// One tab of the main window's tab strip: a flat face with the page title, a
// close box at its right end and a thin progress strip along its lower edge
// that glides towards the page's load percentage. It knows nothing of pages;
// it draws, animates and reports the mouse.
class ucTabs : public QWidget
{
    Q_OBJECT
public:
    explicit ucTabs(QWidget *parent = nullptr);

    long BackColor() const;
    void setBackColor(long colour);
    // The whole title; the face shows as much as fits before the close box,
    // ending in "…", and the tooltip repeats it whole.
    QString Caption() const;
    void setCaption(const QString &text);
    // The last assigned whole percentage. Values below 0 and above 100 are
    // kept as given: the strip never gets a negative width and the face cuts
    // off what lies past its edge.
    int Progress() const;
    void setProgress(int v);
    long ProColor() const;
    void setProColor(long colour);

    // Width in twips that the strip takes for a face of faceWidth twips and
    // the percentage v: Int(faceWidth / 100 * v), never below 0.
    static double ProgressWidth(double faceWidth, int v);

    // The parts, for the host's tests and the layout.
    VbPictureBox *picTab = nullptr;
    VbPictureBox *picCls = nullptr;
    VbImage *lblCap = nullptr;
    VbImage *lblPro = nullptr;
    VbTimer *tmrSpeed = nullptr;

signals:
    void TabClose();
    void Click();
    void DblClick();
    void MouseDown(int Button, int Shift, double X, double Y);
    void MouseMove(int Button, int Shift, double X, double Y);
    void MouseUp(int Button, int Shift, double X, double Y);
    // A property was assigned ("BackColor", "Caption", "Progress", "ProColor").
    void PropertyChanged(const QString &name);

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void tmrSpeed_Timer();
    void picTab_MouseDown(int button, int shift, double x, double y);
    void picTab_MouseMove(int button, int shift, double x, double y);
    void picTab_MouseUp(int button, int shift, double x, double y);
    void picTab_Click();
    void picTab_DblClick();

    void setProColorQuiet(long colour);
    void fitCaption();

    double m_proWidth = 0;
    long m_proColor = 0;
    QString m_proTag = QStringLiteral("0");
    QString m_caption;
    bool m_inResize = false;
};
