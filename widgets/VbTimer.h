#pragma once

#include <QString>
#include <QTimer>

// A timer as the windows use them: an interval, an on/off switch and a Tag in
// which the glide timers keep their panel's state.
class VbTimer : public QTimer
{
    Q_OBJECT
public:
    explicit VbTimer(QObject *parent = nullptr, int intervalMs = 1, bool enabled = false);

    // The shortest interval of the system's timers is about one frame of its
    // clock; glides written with 1 ms keep their pace with this floor.
    static constexpr int kMinInterval = 15;

    void setEnabled(bool on);
    bool isEnabled() const { return isActive(); }
    void setIntervalMs(int ms);

    QString Tag;
};
