#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "core/FData.h"
#include "kit/KitTimer.h"
#include "platform/tickreceiver.h"
#include "platform/tickthread.h"

namespace quorlet {
namespace {

// Delivery needs the worker to run: wait for it, but never longer than this.
constexpr int kDeliveryBound = 5000;

void DeliverPosted() { QCoreApplication::sendPostedEvents(); }

TEST(TickThread, StopJoinsAndNoCallbackRunsAfterwards) {
    TTickThread ticker;
    std::atomic<int> ticks{0};
    ticker.Start(std::chrono::microseconds(500), [&] { ++ticks; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kDeliveryBound));
    ticker.Stop();
    EXPECT_FALSE(ticker.Running());
    const int seen = ticks;
    // The thread is joined: nothing can tick any more.
    EXPECT_EQ(ticks, seen);
}

TEST(TickReceiver, PostedTicksArriveInOrderOnTheReceiversThread) {
    TTickReceiver receiver;
    std::vector<uint32_t> ids;
    bool onGuiThread = true;
    receiver.OnTick = [&](uint32_t id) {
        ids.push_back(id);
        onGuiThread = onGuiThread && QThread::currentThread() == receiver.thread();
    };
    std::thread poster([&] {
        for (uint32_t i = 1; i <= 50; ++i) receiver.Post(i);
    });
    poster.join();
    DeliverPosted();
    ASSERT_EQ(ids.size(), 50u);
    for (uint32_t i = 0; i < 50; ++i) EXPECT_EQ(ids[i], i + 1);
    EXPECT_TRUE(onGuiThread);
}

TEST(HiTimer, IntervalIsClampedIntoThePeriodRange) {
    TKitHiTimer timer;
    EXPECT_EQ(timer.Interval(), 1000u);
    timer.SetInterval(0);
    EXPECT_EQ(timer.Interval(), timer.PeriodMin());
    timer.SetInterval(timer.PeriodMax() + 1);
    EXPECT_EQ(timer.Interval(), timer.PeriodMax());
    timer.SetInterval(10);
    EXPECT_EQ(timer.Interval(), 10u);
}

TEST(HiTimer, NeverArmsWithoutAHandler) {
    for (bool useThread : {false, true}) {
        TKitHiTimer timer;
        timer.SetUseThread(useThread);
        timer.SetEnabled(true);
        EXPECT_EQ(timer.EventId(), 0u);
        EXPECT_FALSE(timer.ThreadRunning());
    }
}

// The posting path with a long interval: the tests post the ticks themselves.
class PostedTicks : public ::testing::Test {
protected:
    void SetUp() override {
        timer.SetUseThread(false);
        timer.SetInterval(100000);
        timer.SetOnTimer([this](QObject*) {
            ++ticks;
            if (onTick) onTick();
        });
        timer.SetEnabled(true);
        ASSERT_NE(timer.EventId(), 0u);
        ASSERT_NE(timer.TimerWindow(), nullptr);
    }
    void PostCurrent() { timer.TimerWindow()->Post(timer.EventId()); }

    TKitHiTimer timer;
    int ticks = 0;
    std::function<void()> onTick;
};

TEST_F(PostedTicks, EveryQueuedTickIsDeliveredNoneMerged) {
    for (int i = 0; i < 5; ++i) PostCurrent();
    DeliverPosted();
    EXPECT_EQ(ticks, 5);
}

TEST_F(PostedTicks, TicksQueuedBeforeADisableNeverReachTheHandler) {
    for (int i = 0; i < 5; ++i) PostCurrent();
    timer.SetEnabled(false);
    DeliverPosted();
    EXPECT_EQ(ticks, 0);
    // Nor after enabling again: the new arming has a new id.
    for (int i = 0; i < 3; ++i) PostCurrent();
    timer.SetEnabled(true);
    DeliverPosted();
    EXPECT_EQ(ticks, 0);
}

TEST_F(PostedTicks, ATickDispatchedWhileTheHandlerRunsIsDropped) {
    bool busyInside = false;
    onTick = [&] {
        busyInside = timer.Busy();
        if (ticks == 1) {
            PostCurrent();
            DeliverPosted(); // the handler pumps events, as a message box would
        }
    };
    PostCurrent();
    DeliverPosted();
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(timer.Busy());
    PostCurrent();
    DeliverPosted();
    EXPECT_EQ(ticks, 2);
}

TEST_F(PostedTicks, AThrowingHandlerDoesNotFreezeLaterTicks) {
    onTick = [] { throw std::runtime_error("boom"); };
    PostCurrent();
    DeliverPosted();
    EXPECT_FALSE(timer.Busy());
    onTick = nullptr;
    PostCurrent();
    DeliverPosted();
    EXPECT_EQ(ticks, 2);
}

TEST(HiTimer, PostingPathTicksOnItsOwnAndStopsOnDisable) {
    TKitHiTimer timer;
    int ticks = 0;
    timer.SetUseThread(false);
    timer.SetInterval(1);
    timer.SetOnTimer([&](QObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 5; }, kDeliveryBound));
    timer.SetEnabled(false);
    const int seen = ticks;
    DeliverPosted();
    EXPECT_EQ(ticks, seen);
    EXPECT_EQ(timer.EventId(), 0u);
}

TEST(HiTimer, SwitchingUseThreadMovesBetweenTheTwoPaths) {
    TKitHiTimer timer;
    timer.SetInterval(100000);
    timer.SetOnTimer([](QObject*) {});
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.ThreadRunning());
    EXPECT_EQ(timer.TimerWindow(), nullptr);
    timer.SetUseThread(false);
    EXPECT_FALSE(timer.ThreadRunning());
    EXPECT_NE(timer.EventId(), 0u);
    EXPECT_NE(timer.TimerWindow(), nullptr);
    timer.SetUseThread(true);
    EXPECT_EQ(timer.EventId(), 0u);
    EXPECT_EQ(timer.TimerWindow(), nullptr);
    EXPECT_TRUE(timer.ThreadRunning());
}

TEST(HiTimer, ThreadPathRunsSynchronisedTicksOnTheGuiThread) {
    int ticks = 0;
    bool onGuiThread = true;
    {
        TKitHiTimer timer;
        timer.SetInterval(1);
        timer.SetOnTimer([&](QObject*) {
            ++ticks;
            onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        });
        timer.SetEnabled(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kDeliveryBound));
        // Destroyed while its worker may be waiting for the GUI thread: it must be woken and joined.
    }
    const int seen = ticks;
    DeliverPosted();
    EXPECT_EQ(ticks, seen);
    EXPECT_TRUE(onGuiThread);
}

TEST(HiTimer, ASynchronisedTickMayStopAndRestartItsOwnTimer) {
    // Stopping from inside the tick ends the worker whose tick is running; that must neither
    // deadlock nor free what the tick still uses.
    TKitHiTimer timer;
    int ticks = 0;
    timer.SetInterval(1);
    timer.SetOnTimer([&](QObject*) {
        ++ticks;
        timer.SetEnabled(false);
        if (ticks < 3) timer.SetEnabled(true);
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kDeliveryBound));
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(timer.ThreadRunning());
    DeliverPosted();
    EXPECT_EQ(ticks, 3);
}

TEST(HiTimer, ThreadPathWithoutSynchronizeTicksOnTheWorker) {
    std::atomic<int> ticks{0};
    std::atomic<bool> offGuiThread{true};
    TKitHiTimer timer;
    timer.Synchronize = false;
    timer.SetInterval(1);
    timer.SetOnTimer([&](QObject*) {
        ++ticks;
        if (QThread::currentThread() == QCoreApplication::instance()->thread()) offGuiThread = false;
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kDeliveryBound));
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.ThreadRunning());
    EXPECT_TRUE(offGuiThread);
}

TEST(HiTimer, AWorkerTickMayStopItsOwnTimer) {
    // Guards against the worker joining itself inside the stop ("Resource deadlock avoided",
    // which ends the process), and against it reading the freed worker object afterwards.
    std::atomic<int> ticks{0};
    std::atomic<bool> stopped{false};
    {
        TKitHiTimer timer;
        timer.Synchronize = false;
        timer.SetInterval(1);
        timer.SetOnTimer([&](QObject*) {
            if (++ticks == 2) {
                timer.SetEnabled(false);
                stopped = true;
            }
        });
        timer.SetEnabled(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return stopped.load(); }, kDeliveryBound));
        EXPECT_FALSE(timer.Enabled());
        // The let-go worker ends on its own; no further tick reaches the handler.
        QTest::qWait(20);
        EXPECT_EQ(ticks, 2);
        EXPECT_FALSE(timer.ThreadRunning());
    }
    DeliverPosted();
}

TEST(HiTimer, EnablingAndDisablingWhileTheWorkerTicksIsRaceFree) {
    // The worker reads Enabled and Synchronize while the GUI thread writes them; the
    // sanitizer build of these tests fails on an unguarded read.
    std::atomic<int> ticks{0};
    TKitHiTimer timer;
    timer.Synchronize = false;
    timer.SetInterval(1);
    timer.SetOnTimer([&](QObject*) { ++ticks; });
    for (int round = 0; round < 20; ++round) {
        timer.SetEnabled(true);
        timer.Synchronize = round % 2 == 0;
        QTest::qWait(2);
        timer.SetEnabled(false);
    }
    EXPECT_FALSE(timer.ThreadRunning());
}

TEST(HiTimer, AThrowingHandlerOnTheWorkerIsLoggedAndTicksGoOn) {
    // Guards against an exception leaving the worker thread, which ends the whole program.
    DebugWindowOn = 1;
    DebugLogLines.clear();
    std::atomic<int> ticks{0};
    {
        TKitHiTimer timer;
        timer.Synchronize = false;
        timer.SetInterval(1);
        timer.SetOnTimer([&](QObject*) {
            ++ticks;
            throw std::runtime_error("boom");
        });
        timer.SetEnabled(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kDeliveryBound));
    }
    DeliverPosted();
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_NE(DebugLogLines.front().find("#timer tick failed: boom"), std::string::npos);
    DebugLogLines.clear();
    DebugWindowOn = 0;
}

} // namespace
} // namespace quorlet
