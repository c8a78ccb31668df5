#include "ucListBox.h"

#include "Apps.h"
#include "Files.h"
#include "Main.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "VbCompat.h"
#include "ucListBoxFill.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
// Row labels are one text line high, so that a label lies wholly inside the
// bar standing on its row.
constexpr double kLabelHeight = 255;
constexpr double kTextLeft = 600;
constexpr double kIconLeft = 120;
constexpr double kIconSize = 285;

QPixmap IconPixmap(int kind)
{
    QPixmap pm(19, 19);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x40, 0x40, 0x40);
    p.setPen(QPen(ink, 1.2));
    if (kind == 0) {
        // a page with a folded corner
        QPainterPath page;
        page.moveTo(4, 2);
        page.lineTo(11, 2);
        page.lineTo(15, 6);
        page.lineTo(15, 17);
        page.lineTo(4, 17);
        page.closeSubpath();
        p.fillPath(page, Qt::white);
        p.drawPath(page);
        p.drawLine(QPointF(11, 2), QPointF(11, 6));
        p.drawLine(QPointF(11, 6), QPointF(15, 6));
    } else if (kind == 1) {
        // a lens with a handle
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 8), 5, 5);
        p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.5, 11.5), QPointF(16.5, 16.5));
    } else {
        // a clock
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(9.5, 9.5), 7.5, 7.5);
        p.drawLine(QPointF(9.5, 9.5), QPointF(9.5, 5));
        p.drawLine(QPointF(9.5, 9.5), QPointF(13, 11));
    }
    return pm;
}

VbImage *MakeIcon(QWidget *parent, int kind, double top)
{
    auto *img = new VbImage(parent);
    img->setPixmap(IconPixmap(kind));
    img->setAttribute(Qt::WA_TransparentForMouseEvents);
    TwipsMove(img, kIconLeft, top, kIconSize, kIconSize);
    return img;
}
} // namespace

ucListBox::ucListBox(QWidget *parent)
    : QWidget(parent)
{
    setFont(UiFont());
    // The bar first, so that the row texts and icons are drawn over it.
    lblSel = new VbImage(this);
    lblSel->setBackColor(m_selColor);
    TwipsMove(lblSel, 0, 0, 0, H);
    connect(lblSel, &VbImage::mouseDown, this, &ucListBox::lblSel_MouseDown);
    connect(lblSel, &VbImage::mouseMove, this, &ucListBox::lblSel_MouseMove);
    connect(lblSel, &VbImage::mouseUp, this, &ucListBox::lblSel_MouseUp);

    lblGoto = makeRowLabel(QStringLiteral("转到 *"), kTextLeft, 120);
    lblSrch = makeRowLabel(QStringLiteral("搜索 *"), kTextLeft, 600);
    lblApp = makeRowLabel(QStringLiteral("找到 * 个关于 * 的应用"), kTextLeft, 1080);
    lblHis.setTemplate(makeRowLabel(QStringLiteral("*"), kTextLeft, 1560));
    lblHis.at(0)->hide();
    lblHis.setFactory([this](int) {
        VbImage *t = lblHis.at(0);
        auto *l = makeRowLabel(QString(), TLeft(t), TTop(t));
        l->setPalette(t->palette());
        return l;
    });

    imgGoto = MakeIcon(this, 0, 120);
    imgSrch = MakeIcon(this, 1, 600);
    imgHis = MakeIcon(this, 2, 1560);

    TwipsMove(this, 0, 0, 4815, 1935);
}

VbImage *ucListBox::makeRowLabel(const QString &caption, double left, double top)
{
    auto *l = new VbImage(this);
    l->setTextFormat(Qt::PlainText);
    l->setTransparentBack();
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->setFont(font());
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, VbColor(m_foreColor));
    l->setPalette(pal);
    TwipsMove(l, left, top, 0, kLabelHeight);
    setCaption(l, caption, false);
    return l;
}

void ucListBox::setCaption(VbImage *label, const QString &caption, bool tooltip)
{
    label->setText(caption);
    // Sized to its text, one line high.
    const int px = label->fontMetrics().horizontalAdvance(caption) + 2;
    SetTWidth(label, PxToTwips(px));
    if (tooltip)
        label->setToolTip(PlainToolTip(caption));
}

void ucListBox::setBackColor(long color)
{
    m_backColor = color;
    update();
    emit propertyChanged(QStringLiteral("BackColor"));
}

void ucListBox::setSelColor(long color)
{
    m_selColor = color;
    lblSel->setBackColor(color);
    emit propertyChanged(QStringLiteral("SelColor"));
}

void ucListBox::setForeColor(long color)
{
    m_foreColor = color;
    for (VbImage *l : {lblGoto, lblSrch, lblApp, lblHis.at(0)})
        l->setForeColor(color);
    emit propertyChanged(QStringLiteral("ForeColor"));
}

void ucListBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), VbColor(m_backColor));
}

void ucListBox::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    SetTWidth(lblSel, TScaleWidth(this));
}

double ucListBox::barTop() const
{
    return TTop(lblSel);
}

void ucListBox::setBarRow(int row)
{
    SetTTop(lblSel, row * H);
}

int ucListBox::selRow() const
{
    return int(RoundHalfEven(barTop() / H));
}

void ucListBox::EnterTxt(const QString &txt)
{
    // Each search runs once per call: the same files give the same answer.
    // Only the history entries that can be shown are looked for.
    const ucListBoxFill f =
        ucListBoxFill::make(txt, m_source.InputHis(txt, ucListBoxFill::kMaxHisRows), m_source.Apps(txt));

    for (int k = lblHis.ubound(); k >= 1; --k)
        lblHis.unload(k);
    m_hisLst.clear();
    m_appLst.clear();
    m_hisRows = 0;

    SetTHeight(this, 3 * H);
    setCaption(lblGoto, f.gotoCaption, true);
    m_tag = txt;
    setCaption(lblSrch, f.searchCaption, true);
    setCaption(lblApp, f.appCaption, f.appTooltip);
    m_appLst = f.appResult;

    m_hisLst = f.hisResult;
    const VbImage *tmpl = lblHis.at(0);
    for (qsizetype i = 0; i < f.hisRows.size(); ++i) {
        const int k = int(i) + 1;
        VbImage *row = lblHis.load(k);
        if (!row)
            continue;
        row->show();
        row->raise();
        TwipsMove(row, TLeft(tmpl), 3 * H + 120 + (THeight(tmpl) + 240) * (k - 1));
        setCaption(row, f.hisRows.at(i), true);
        ++m_hisRows;
    }
    if (m_hisRows > 0)
        SetTHeight(this, H * (3 + m_hisRows));

    setBarRow(f.selRow);
    m_selected = f.selected;
    m_seledSearch = f.seledSearch;
}

void ucListBox::takeRow(int row)
{
    const int k = row - ucListBoxFill::kFirstHisRow + 1;
    if (row >= ucListBoxFill::kFirstHisRow && k >= 1 && lblHis.exists(k)) {
        m_selected = lblHis.at(k)->text();
        m_seledSearch = false;
        return;
    }
    m_selected = typedText();
    m_seledSearch = (row == ucListBoxFill::kSearchRow);
}

void ucListBox::ChangeSelect(int upOrDown)
{
    double top = barTop();
    if (upOrDown != 0) {
        if (top + H < THeight(this))
            top += H;
    } else if (top > 0) {
        top -= H;
    }
    SetTTop(lblSel, top);
    if (top == 0 || top == H || top == 2 * H) {
        m_selected = typedText();
    } else {
        const long long k = RoundHalfEven((top - 2 * H) / H);
        // Only a real history row is taken; element 0 is the hidden template.
        if (k >= 1 && k <= ControlArray<VbImage>::kMaxIndex && lblHis.exists(int(k)))
            m_selected = lblHis.at(int(k))->text();
        else
            m_selected = typedText();
    }
    m_seledSearch = (top == H);
}

void ucListBox::lblSel_MouseDown(int, int, double, double y)
{
    // The grab point of a drag; the mouse normally hovers there first.
    m_selY = y;
}

void ucListBox::lblSel_MouseMove(int button, int, double, double y)
{
    if (button == 1)
        SetTTop(lblSel, barTop() - m_selY + y);
    else
        m_selY = y;
}

void ucListBox::mousePressEvent(QMouseEvent *e)
{
    // The row texts and icons let the mouse through: a press outside the bar
    // lands here.
    const double y = PxToTwips(int(e->position().y()));
    const int rows = 3 + m_hisRows;
    const int row = qBound(0, int(y / H), rows - 1);
    setBarRow(row);
    m_selY = y - row * H;
    m_listPress = true;
    e->accept();
}

void ucListBox::mouseMoveEvent(QMouseEvent *e)
{
    if (!m_listPress)
        return;
    const double y = PxToTwips(int(e->position().y())) - barTop();
    lblSel_MouseMove(e->buttons() == Qt::LeftButton ? 1 : 0, 0, 0, y);
}

void ucListBox::mouseReleaseEvent(QMouseEvent *e)
{
    if (!m_listPress)
        return;
    m_listPress = false;
    e->accept();
    lblSel_MouseUp(0, 0, 0, 0);
}

void ucListBox::lblSel_MouseUp(int, int, double, double)
{
    double top = barTop();
    if (top < 0)
        top = 0;
    if (top + H > THeight(this))
        top = THeight(this) - H;
    SetTTop(lblSel, top);

    if (IsInside(lblApp, lblSel) || IsInside(lblGoto, lblSel)) {
        m_selected = typedText();
        m_seledSearch = false;
    } else if (IsInside(lblSrch, lblSel)) {
        m_selected = typedText();
        m_seledSearch = true;
    } else {
        const long long k = RoundHalfEven((top - 2 * H) / H);
        if (k >= 1 && k <= ControlArray<VbImage>::kMaxIndex && lblHis.exists(int(k))) {
            m_selected = lblHis.at(int(k))->text();
            m_seledSearch = false;
        } else {
            // Between the fixed rows: the nearest row is taken.
            const int rows = 3 + m_hisRows;
            int row = int(RoundHalfEven(top / H));
            row = qBound(0, row, rows - 1);
            takeRow(row);
        }
    }
    setBarRow(0);
    emit MouseClicked();
}
