#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <array>

// The navigation page's tiles and their file, without any window: nine tiles
// in three rows of three, kept in "Data\OrvNav.ini", section "Nav", keys "n1"
// to "n9", each value "address@@title@@thumbnail path" with the thumbnail path
// relative to the program folder ("Data\NavPic\nK.bmp", or empty).
namespace NavPage {

constexpr int kTiles = 9;
// Design sizes in twips.
constexpr double kTileWidth = 2895;
constexpr double kTileHeight = 1935;
constexpr double kCaptionTop = 1440;
constexpr double kCaptionHeight = 255;
constexpr double kAddWidth = 5055;
constexpr double kAddHeight = 2895;

// The fields one filling of the page sets on tile i.
struct TileFields
{
    QString address; // lblWeb(i).Tag
    QString caption; // lblWeb(i).Caption
    QString toolTip; // lblWeb(i).ToolTipText
    QString picPath; // picWeb(i).Tag
};

// "Data\OrvNav.ini" in the program folder, written with "\".
QString IniPath();
// "n1" ... "n9" for tile index 0 ... 8.
QString Key(int i);
// "Data\NavPic\nK.bmp" for tile index i (K = i + 1).
QString PicPath(int i);

// The stored value of tile i; "" when the file, the section or the key is
// missing. Read whole like every value of the settings store.
QString ReadTile(int i);
// Writes the value of tile i; creates the file when it is missing.
void WriteTile(int i, const QString &value);

// Applies one stored value to a tile. An empty value empties every field and
// returns false (the picture is cleared). Otherwise the value is split at
// "@@": piece 0 is the address, piece 1 the caption and tooltip, piece 2 the
// picture path; a missing piece leaves its fields as they were. Returns true:
// the picture at picPath is painted.
bool ApplyValue(TileFields &tile, const QString &value);

// The value a tile made in the add-tile panel holds: the text as address and
// as title, no picture ("text@@text@@"); an empty text gives "".
QString TypedValue(const QString &text);
// The value a fresh thumbnail gives: "url@@title@@Data\NavPic\nK.bmp".
QString ShotValue(int i, const QString &url, const QString &title);

// Tile i's position: centred in its third of the page's width and height,
// r = i \ 3 its row, c = i Mod 3 its column; floating point twips.
double TileLeft(int i, double pageWidth, double tileWidth);
double TileTop(int i, double pageHeight, double tileHeight);

// An address as the thumbnail match sees it: every "http:" and then every "/"
// removed.
QString MatchText(const QString &address);
// The first tile whose address matches the location; -1 when none does.
int MatchTile(const std::array<QString, kTiles> &addresses, const QString &locationUrl);

// Whether a snapshot is one colour all over: what the web
// view gives before the engine has drawn the newly loaded page.
bool IsBlank(const QImage &image);

// The picture file at program folder & relPath, scaled to size; null when the
// file is missing or unreadable, or when the path leads out of the program
// folder (a damaged tile file must not make the page read files elsewhere).
QPixmap LoadPicture(const QString &relPath, const QSize &size);
// Saves a snapshot as a Windows bitmap at program folder & relPath, replacing
// any earlier file in one step; creates no folder. False on failure.
bool SavePicture(const QPixmap &picture, const QString &relPath);

} // namespace NavPage
