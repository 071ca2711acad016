#include "Foto.h"

#include <QAction>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

#include "Prompter.h"
#include "Workspace.h"
#include "tools/JpegImage.h"
#include "tools/PictureFit.h"

namespace {

constexpr int kReloadDelayMs = 150;

// Identifies one version of a file: a picture replaced by another workstation
// under the same name is decoded again.
QString FileKey(const QString& path) {
    const QFileInfo info(path);
    return path + u'|' + QString::number(info.size()) + u'|' +
           QString::number(info.lastModified().toMSecsSinceEpoch());
}

}  // namespace

Foto::Foto(Workspace& ws, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), ws_(ws) {
    setObjectName(QStringLiteral("Foto"));
    setWindowTitle(QStringLiteral("Foto"));
    resize(kDesignWidth, kDesignHeight);

    area_ = new QWidget;
    area_->setObjectName(QStringLiteral("PictureArea"));
    area_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    area_->installEventFilter(this);
    image_ = new QLabel(area_);
    image_->setObjectName(QStringLiteral("Image"));
    image_->setScaledContents(true);
    image_->hide();

    itemLabel_ = new QLabel;
    itemLabel_->setObjectName(QStringLiteral("ItemLabel"));
    itemLabel_->setTextFormat(Qt::PlainText);
    // A long item name is cut at the window's edge instead of widening it.
    itemLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    sizeLabel_ = new QLabel;
    sizeLabel_->setObjectName(QStringLiteral("SizeLabel"));
    sizeLabel_->setTextFormat(Qt::PlainText);
    sizeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* bar = new QFrame;
    bar->setObjectName(QStringLiteral("BottomBar"));
    bar->setFrameShape(QFrame::Panel);
    bar->setFrameShadow(QFrame::Raised);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(4, 2, 4, 2);
    barLayout->addWidget(itemLabel_, 1);
    barLayout->addWidget(sizeLabel_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(area_, 1);
    layout->addWidget(bar);

    showAction_ = new QAction(QStringLiteral("Zobrazení Foto"), this);
    showAction_->setObjectName(QStringLiteral("ZobrazeniFoto"));
    connect(showAction_, &QAction::triggered, this, &Foto::ShowViewer);

    reloadTimer_ = new QTimer(this);
    reloadTimer_->setSingleShot(true);
    reloadTimer_->setInterval(kReloadDelayMs);
    connect(reloadTimer_, &QTimer::timeout, this, [this] {
        loadedKey_.clear();
        Load();
    });
}

void Foto::ShowPicture(const QString& path, const QString& caption) {
    SetCaption(caption);
    if (path != path_) reportedKey_.clear();
    path_ = path;
    pending_ = true;
    if (isVisible()) Load();
}

void Foto::ClearPicture() {
    path_.clear();
    pending_ = false;
    reportedKey_.clear();
    Empty();
}

void Foto::SetCaption(const QString& caption) {
    // An empty title would show the application's name, as if this were the main window.
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Foto") : caption);
}

void Foto::SetItemLabel(const QString& text) {
    itemLabel_->setText(text);
    // The label is cut at the window's edge; the hint shows the whole text.
    itemLabel_->setToolTip(text);
}

void Foto::ShowItemPicture(int kind, int row) {
    const ItemPicture item = ItemPictureOf(ws_, kind, row);
    if (!item.keepLabel) SetItemLabel(item.label);
    if (kind != kProjectTable && kind != kDeadlineTable && kind != kFinanceTable) return;
    if (item.exists)
        ShowPicture(item.path, item.fileName);
    else
        ClearPicture();
}

void Foto::ShowCurrentItemPicture() {
    ShowItemPicture(ws_.Current().Kind(), ws_.Current().Row());
}

void Foto::ShowViewer() {
    show();
    raise();
}

bool Foto::HasPicture() const {
    return !image_->isHidden();
}

QSize Foto::ImageSize() const {
    return HasPicture() ? image_->size() : QSize(0, 0);
}

QString Foto::ItemLabelText() const {
    return itemLabel_->text();
}

QString Foto::SizeLabelText() const {
    return sizeLabel_->text();
}

void Foto::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // After the layout has given the picture area its size, and outside the
    // show itself, since a damaged file opens a message box.
    if (pending_) QMetaObject::invokeMethod(this, &Foto::Load, Qt::QueuedConnection);
}

bool Foto::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize) Fit();
    return QWidget::eventFilter(watched, event);
}

QSize Foto::DecodeTarget() const {
    return area_->size() * devicePixelRatioF();
}

void Foto::Load() {
    if (!pending_ || !isVisible()) return;
    pending_ = false;
    const QString key = FileKey(path_);
    if (key == loadedKey_ && HasPicture()) return Fit();

    // A damaged file is reported once; shown again, it stays quietly empty.
    if (key == reportedKey_) return Empty();
    const LoadedPicture picture = LoadPicture(path_, DecodeTarget());
    if (!picture.Ok()) {
        Empty();
        reportedKey_ = key;
        ws_.Ask().Error(picture.error);
        return;
    }
    loadedKey_ = key;
    pictureSize_ = picture.fullSize;
    decodedSize_ = picture.image.size();
    eighths_ = picture.eighths;
    image_->setPixmap(QPixmap::fromImage(picture.image));
    image_->show();
    Fit();
}

void Foto::Fit() {
    if (!HasPicture()) return;
    const QSize fitted = FitPicture(pictureSize_, area_->size());
    image_->setGeometry(QRect(QPoint(0, 0), fitted));
    sizeLabel_->setText(PictureSizeLabel(pictureSize_, fitted));
    // A reduced decode stretched larger than itself would look blurred.
    const QSize needed = fitted * devicePixelRatioF();
    if (eighths_ < 8 &&
        (needed.width() > decodedSize_.width() || needed.height() > decodedSize_.height())) {
        pending_ = true;
        reloadTimer_->start();
    }
}

void Foto::Empty() {
    SetCaption(QString());
    image_->hide();
    image_->clear();
    loadedKey_.clear();
    pictureSize_ = QSize();
    decodedSize_ = QSize();
    eighths_ = 8;
    sizeLabel_->clear();
}
