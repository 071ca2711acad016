#include "Info.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel* Line(const QString& name, const QString& text, int pointSize, bool bold = false) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

Info::Info(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), designSize_(520, 300) {
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QStringLiteral("O programu Sledování ORVA"));
    // As a splash or a banner it must not take the focus from the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);

    panel_ = new QFrame;
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Raised);
    panel_->setAutoFillBackground(true);
    panel_->installEventFilter(this);

    auto* logo = Line(QStringLiteral("Logo"), QStringLiteral("ORVA"), 26, true);
    logo->setStyleSheet(QStringLiteral("QLabel { color: #1f4e9c; }"));
    auto* title =
        Line(QStringLiteral("Titul"),
             QStringLiteral("PROGRAM PRO SLEDOVÁNÍ A ŘÍZENÍ INVESTIČNÍCH PROJEKTŮ "), 11, true);
    auto* dedication =
        Line(QStringLiteral("Venovani"),
             QStringLiteral("Pro regionální operační program a jeho regionální radu"), 9);
    auto* authors =
        Line(QStringLiteral("Autori"), QStringLiteral("Autoři: vývojový tým Sledování ORVA"), 9);
    auto* version = Line(QStringLiteral("Verze"), QStringLiteral("verze  1.1    2010"), 9);
    copyright_ = new QLabel(QStringLiteral("©"));
    copyright_->setObjectName(QStringLiteral("Copyright"));
    copyright_->installEventFilter(this);
    notice_ = Line(QStringLiteral("Oznameni"), QString(), 10, true);
    notice_->hide();

    auto* inner = new QVBoxLayout(panel_);
    inner->addWidget(notice_);
    inner->addWidget(logo);
    inner->addWidget(title);
    inner->addWidget(dedication);
    inner->addWidget(authors);
    inner->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(version, 1);
    bottom->addWidget(copyright_);
    inner->addLayout(bottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(panel_);
    setFixedSize(designSize_);
}

void Info::Centre() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void Info::ShowAbout() {
    banner_ = false;
    notice_->hide();
    for (QWidget* w : panel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != notice_) w->show();
    setFixedSize(designSize_);
    Centre();
    show();
    raise();
}

void Info::ShowBanner(const QString& notice) {
    banner_ = true;
    for (QWidget* w : panel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->hide();
    notice_->setText(notice);
    notice_->show();
    setFixedSize(designSize_.width(), kBannerHeight);
    Centre();
    show();
    raise();
    // The writing runs on this thread without returning to the event loop:
    // the banner is painted now and closed once the writer is done.
    repaint();
    QTimer::singleShot(0, this, [this] {
        if (banner_) close();
    });
}

bool Info::eventFilter(QObject* watched, QEvent* event) {
    if (watched == copyright_) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            emit serviceGesture();
            return true;
        }
        // A click on the sign is no click on the panel.
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonRelease)
            return true;
    }
    if (watched == panel_ && event->type() == QEvent::MouseButtonRelease) {
        emit panelClicked();
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Info::closeEvent(QCloseEvent* event) {
    // The banner changed only the height; the next showing is the whole window.
    banner_ = false;
    setFixedSize(designSize_);
    QWidget::closeEvent(event);
}
