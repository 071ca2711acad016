#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

class QAction;
class QLabel;
class QTimer;
class Workspace;

// The photo viewer: a small stay-on-top window with the picture an item names,
// stretched into the picture area with its proportions kept, the item label
// and the size label below it. A picture is decoded only while the window is
// shown, so clicking through the grids with the viewer hidden costs nothing and
// a damaged file is reported only to a user who is looking at the viewer.
class Foto : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kDesignWidth = 360;
    static constexpr int kDesignHeight = 319;

    explicit Foto(Workspace& ws, QWidget* parent = nullptr);

    // The main menu item "Zobrazení Foto": shows the viewer on top.
    QAction* ShowAction() const { return showAction_; }

    // Shows the picture file with caption as the window title. A file that
    // cannot be read is reported through the workspace's prompter and leaves
    // the viewer empty.
    void ShowPicture(const QString& path, const QString& caption);
    // Empties the caption and hides the picture.
    void ClearPicture();
    void SetItemLabel(const QString& text);
    // The picture that row of the table of kind names, with the item's label,
    // or an empty viewer when the named file is not there (nothing is reported).
    void ShowItemPicture(int kind, int row);

    bool HasPicture() const;
    // The size of the stretched image in the picture area (0 × 0 when empty).
    QSize ImageSize() const;
    // The picture's own size and the scale, in eighths, it was decoded at.
    QSize PictureSize() const { return pictureSize_; }
    int DecodedEighths() const { return eighths_; }
    QString ItemLabelText() const;
    QString SizeLabelText() const;

  public slots:
    void ShowCurrentItemPicture();
    void ShowViewer();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Load();
    void Fit();
    // No caption, no picture, no size label.
    void Empty();
    void SetCaption(const QString& caption);
    QSize DecodeTarget() const;

    Workspace& ws_;
    QWidget* area_ = nullptr;
    QLabel* image_ = nullptr;
    QLabel* itemLabel_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QAction* showAction_ = nullptr;
    // Decodes again, a moment after the area grew beyond a reduced decode.
    QTimer* reloadTimer_ = nullptr;

    QString path_;  // the picture shown, or waiting to be decoded
    bool pending_ = false;
    QString loadedKey_;    // path, size and time of the picture decoded
    QString reportedKey_;  // the same of the last damaged file reported
    QSize pictureSize_;
    QSize decodedSize_;
    int eighths_ = 8;
};
