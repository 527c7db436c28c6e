#pragma once

#include <QObject>

class QSocketNotifier;

namespace orvane {

// SIGTERM, SIGINT and SIGHUP as a Qt signal on the UI thread. The handler
// only writes the signal number into a pipe; a socket notifier reads it in the
// event loop, so no work runs inside the handler. One instance per process.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // False when the pipe or a handler could not be set up (the signals then
    // keep their default action).
    [[nodiscard]] bool installed() const { return m_installed; }

signals:
    void quitRequested(int signalNumber);

private:
    void ReadPipe();

    QSocketNotifier* m_notifier = nullptr;
    bool m_installed = false;
};

} // namespace orvane
