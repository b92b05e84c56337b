#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class QSocketNotifier;

// Brings signals into the event loop. The handler only writes the signal's
// number into a socket pair whose other end the event loop watches, so what
// a signal asks for runs as any other event does, never inside the handler,
// where hardly any call is safe. A signal the program was started ignoring
// (SIGHUP under nohup) stays ignored. While the bridge lives it is the
// signals' handler; the previous handlers come back when it ends. One bridge
// at a time.
class SignalBridge : public QObject {
public:
    SignalBridge(std::initializer_list<int> signalNumbers, QObject* parent);
    ~SignalBridge() override;
    SignalBridge(const SignalBridge&) = delete;
    SignalBridge& operator=(const SignalBridge&) = delete;

    // Told, in the event loop, the number of each signal that arrived.
    std::function<void(int signalNumber)> OnSignal;

private:
    void Catch(int signalNumber);
    void ReadSignals();

    int ends_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    std::vector<std::pair<int, struct sigaction>> previous_;
};
