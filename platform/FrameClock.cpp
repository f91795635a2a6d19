#include "platform/FrameClock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace platform {
namespace {

class SystemFrameClock final : public FrameClock {
public:
    SystemFrameClock()
    {
        started_.start();
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            // Taken first: the call may ask for the next one.
            if (const std::function<void()> due = std::exchange(due_, nullptr))
                due();
        });
    }
    qint64 nowMs() const override { return started_.elapsed(); }
    void callAfter(int ms, std::function<void()> due) override
    {
        due_ = std::move(due);
        timer_.start(ms);
    }
    void cancel() override
    {
        timer_.stop();
        due_ = nullptr;
    }
    bool pending() const override { return timer_.isActive(); }

private:
    QElapsedTimer started_;
    QTimer timer_;
    std::function<void()> due_;
};

}  // namespace

std::shared_ptr<FrameClock> systemFrameClock()
{
    return std::make_shared<SystemFrameClock>();
}

}  // namespace platform
