#pragma once

#include <QString>
#include <QWidget>

class CFileDownload;
class VbImage;
class VbPictureBox;

// One download in the list: the file's icon and name, the progress bar with
// its percentage, the pause/continue and remove buttons. NewDownload and the
// continue button block inside the row's transfer until it ends.
class ucDownload : public QWidget
{
    Q_OBJECT
public:
    static constexpr double kRowHeight = 975; // twips; the row keeps this height

    explicit ucDownload(QWidget *parent = nullptr);

    // Keeps both and starts the transfer; returns when it has ended. An
    // address beginning with "ftp://" leaves the row idle.
    void NewDownload(const QString &sUrl, const QString &sPath);
    void StopDownload();

    // The list takes a removed row out at once; the row is deleted only after
    // every transfer call running in it has returned.
    void releaseWhenIdle();
    bool inTransferCall() const { return m_callDepth > 0; }
    bool isFinished() const { return m_finished; }

    CFileDownload *downloader() const { return Downloader; }

signals:
    void DwnRemoved();

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void imgCP_Click(int Index);
    void imgDel_Click();
    void OpenFile();
    void Downloader_OnProgress(qint64 lProgress, qint64 lMaxProgress, int lStatusCode, const QString &sStatusText);
    void Complete();
    void Layout();

    QString m_Url;
    QString m_Path;
    CFileDownload *Downloader = nullptr;

    VbPictureBox *picIcon = nullptr;
    VbImage *lblCap = nullptr;
    VbPictureBox *picPro = nullptr;
    VbImage *lblPro = nullptr;
    VbImage *lblProg = nullptr;
    VbPictureBox *picOpt = nullptr;
    VbImage *imgCP[2] = {nullptr, nullptr};
    VbImage *imgDel = nullptr;

    int m_callDepth = 0;
    bool m_release = false;
    bool m_finished = false;
    bool m_inLayout = false;
};
