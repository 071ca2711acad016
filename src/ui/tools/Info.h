#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

// The about window: the program's title, dedication, authors and version on a
// panel, with a small "©" sign. It doubles as the start-up splash (closed by
// the main window's timer) and as a 50-pixel busy banner while notes or day
// records are written.
class Info : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kBannerHeight = 50;

    explicit Info(QWidget* parent = nullptr);

    // The normal window, centred on the screen.
    void ShowAbout();
    // The 50-pixel banner with a notice; it closes once the running operation
    // has returned to the event loop.
    void ShowBanner(const QString& notice);
    bool IsBanner() const { return banner_; }

  signals:
    // A click on the panel: the main window switches its "Obsluha" menu.
    void panelClicked();
    // A double click on the "©" sign: the service mode gesture.
    void serviceGesture();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Centre();

    QFrame* panel_ = nullptr;
    QLabel* copyright_ = nullptr;
    QLabel* notice_ = nullptr;
    QSize designSize_;
    bool banner_ = false;
};
