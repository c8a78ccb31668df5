// The bookmark button in the address bar, the glide of the bookmarks panel
// and the reactions to the panel's events.
#include "frmMain.h"

#include "BookmarkFiles.h"
#include "Main.h"
#include "Twips.h"
#include "ucBookmarks.h"
#include "ucWeb.h"

namespace tessivane {

void frmMain::ConnectBookmarkEvents()
{
    connect(imgBM, &VbImage::clicked, this, [this] {
        if (m_bmDblClickRelease) {
            // the release that ends a double click
            m_bmDblClickRelease = false;
            return;
        }
        imgBM_Click();
    });
    connect(imgBM, &VbImage::dblClick, this, [this] {
        m_bmDblClickRelease = true;
        imgBM_DblClick();
    });
    connect(tmrSBM, &QTimer::timeout, this, &frmMain::tmrSBM_Timer);
    connect(BM, &ucBookmarks::BookmarkAdded, this, &frmMain::BM_BookmarkAdded);
    connect(BM, &ucBookmarks::BookmarkOpened, this, &frmMain::BM_BookmarkOpened);
}

void frmMain::imgBM_Click()
{
    if (tmrSBM->Tag.isEmpty()) {
        const ucWeb *web = Web(CurIdx);
        BM->ShowSave(web ? web->LocationName() : QString());
    }
    tmrSBM->setEnabled(true);
}

void frmMain::imgBM_DblClick()
{
    if (tmrSBM->Tag.isEmpty())
        BM->GetBookmarks();
}

void frmMain::tmrSBM_Timer()
{
    const double top = THeight(picCaption) + THeight(picAddr);
    const double sw = TScaleWidth(this);
    if (!tmrSBM->Tag.isEmpty())
        SlideCtl(BM, float(sw), float(top), float(TWidth(BM)), float(THeight(BM)), 5, tmrSBM, QString());
    else
        SlideCtl(BM, float(sw - TWidth(BM)), float(top), float(TWidth(BM)), float(THeight(BM)), 5, tmrSBM,
                 QStringLiteral("1"));
}

void frmMain::BM_BookmarkAdded(const QString &bmCaption)
{
    const ucWeb *web = Web(CurIdx);
    if (web)
        SaveBookmark(web->LocationURL(), bmCaption);
    tmrSBM->setEnabled(true);
}

void frmMain::BM_BookmarkOpened(const QString &bmPath)
{
    tmrSBM->setEnabled(true);
    // An unreadable, vanished or oversized file navigates nowhere.
    const QString url = ReadBookmark(bmPath);
    if (!url.isEmpty())
        WebGoTo(url);
}

}  // namespace tessivane
