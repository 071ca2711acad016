#pragma once

#include <QList>
#include <QObject>

class QSocketNotifier;

// Turns the termination signals of the operating system into a Qt signal on the
// window thread. A signal handler may do almost nothing, so it only writes the
// signal's number into a socket pair; the notifier reads it between events,
// where the close sequence can run safely.
class SignalWatcher : public QObject {
    Q_OBJECT
  public:
    explicit SignalWatcher(const QList<int>& signalNumbers, QObject* parent = nullptr);
    ~SignalWatcher() override;

    // The watcher alive for the process; only one may exist at a time.
    bool Active() const { return notifier_ != nullptr; }

  signals:
    void received(int signalNumber);

  private:
    void Read();

    QList<int> signals_;
    QSocketNotifier* notifier_ = nullptr;
};
