#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/FData.h"
#include "kit/KitClass.h"
#include "kit/KitLists.h"
#include "kit/KitStartup.h"
#include "kit/KitThemeManager.h"
#include "kit/engine/kiterror.h"

namespace quorlet {
namespace {

// Each test gets its own runtime folder, so the instance lock is the test's own.
class KitRuntime : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        saved_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", saved_); }
    QTemporaryDir dir_;
    QByteArray saved_;
};

void Tick(TKitTimerPool& pool, int times) {
    for (int i = 0; i < times; ++i) pool.Tick();
}

TEST(KitTimerPool, ItemsFireOnTheCountsTheirStepDivides) {
    TKitTimerPool pool(nullptr, 50);
    std::vector<std::pair<uint16_t, int32_t>> fired;
    pool.OnTimer = [&](QObject* sender, uint16_t id, int32_t counter) {
        EXPECT_EQ(sender, &pool);
        fired.push_back({id, counter});
    };
    EXPECT_EQ(pool.AddTimer(7, 100, nullptr), 0);
    EXPECT_EQ(pool.AddTimer(9, 150, nullptr), 1);
    ASSERT_NE(pool.MainTimer(), nullptr);
    EXPECT_TRUE(pool.MainTimer()->isActive());
    EXPECT_EQ(pool.MainTimer()->interval(), 50);
    EXPECT_EQ(pool.PoolCounter(), 1);
    Tick(pool, 6); // pool counts 1..6
    const std::vector<std::pair<uint16_t, int32_t>> expected = {{7, 1}, {9, 1}, {7, 2}, {7, 3}, {9, 2}};
    EXPECT_EQ(fired, expected);
}

TEST(KitTimerPool, RefusesDuplicatesAndIncompatibleIntervals) {
    TKitTimerPool pool(nullptr, 50);
    pool.AddTimer(3, 50, nullptr);
    try {
        pool.AddTimer(3, 100, nullptr);
        FAIL() << "duplicate accepted";
    } catch (const EKitError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    for (uint16_t interval : {75, 25, 0}) {
        try {
            pool.AddTimer(4, interval, nullptr);
            FAIL() << interval;
        } catch (const EKitError& e) {
            EXPECT_STREQ(e.what(), "Interval not compatible with MinInterval property!");
        }
    }
    EXPECT_EQ(pool.Count(), 1);
    // MinInterval changes only while loading.
    pool.SetMinInterval(10);
    EXPECT_EQ(pool.MinInterval(), 50);
    TKitTimerPool loaded;
    EXPECT_EQ(loaded.MinInterval(), 1000);
    loaded.BeginLoad();
    loaded.SetMinInterval(10);
    loaded.EndLoad();
    EXPECT_EQ(loaded.MinInterval(), 10);
}

TEST(KitTimerPool, CallCountDisablesAndRemovalStopsTheTimer) {
    TKitTimerPool pool(nullptr, 50);
    int calls = 0;
    pool.AddTimer(1, 50, [&](QObject*) { ++calls; });
    pool.Item(1)->CallCount = 2;
    Tick(pool, 5);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(pool.Item(1)->Enabled());
    EXPECT_EQ(pool.ActiveTimers(), 0);
    // Interval setter: incompatible values are ignored, 0 means MinInterval.
    TKitTimerItem* item = pool.Item(1);
    item->SetInterval(120);
    EXPECT_EQ(item->Interval(), 50);
    item->SetInterval(200);
    EXPECT_EQ(item->StepCount(), 4);
    item->SetInterval(0);
    EXPECT_EQ(item->Interval(), 50);
    pool.RemoveTimer(1);
    EXPECT_EQ(pool.Count(), 0);
    EXPECT_FALSE(pool.MainTimer()->isActive());
    EXPECT_THROW(TKitTimerItem(nullptr, 1, nullptr), EKitError);
}

// Guards against firing (or touching) items a handler removed during the same round.
TEST(KitTimerPool, HandlersMayAddAndRemoveItems) {
    TKitTimerPool pool(nullptr, 50);
    std::vector<uint16_t> fired;
    pool.AddTimer(1, 50, [&](QObject*) {
        fired.push_back(1);
        pool.RemoveTimer(2);
        pool.RemoveTimer(1);
        pool.AddTimer(4, 50, [&](QObject*) { fired.push_back(4); });
    });
    pool.AddTimer(2, 50, [&](QObject*) { fired.push_back(2); });
    pool.AddTimer(3, 50, [&](QObject*) {
        fired.push_back(3);
        pool.ClearTimers();
    });
    pool.Tick();
    EXPECT_EQ(fired, (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(pool.Count(), 0);
    EXPECT_FALSE(pool.Busy());
}

TEST(KitTimerPool, TickLogsAFailingHandlerAndStaysUsable) {
    ResetGlobals();
    DebugWindowOn = 1;
    TKitTimerPool pool(nullptr, 50);
    pool.AddTimer(1, 50, [](QObject*) { throw EKitError("broken handler"); });
    pool.Tick();
    EXPECT_FALSE(pool.Busy());
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_NE(DebugLogLines.front().find("# broken handler"), std::string::npos);
    ResetGlobals();
}

TEST_F(KitRuntime, ApplicationInitialValuesAndInstanceLock) {
    auto first = std::make_unique<TKitApplication>();
    EXPECT_FALSE(first->PreviousInstance());
    EXPECT_GE(first->InstanceMutex(), 0);
    const QString lock = dir_.path() + "/" + QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUpper();
    EXPECT_TRUE(QFileInfo::exists(lock));
    {
        TKitApplication second;
        EXPECT_TRUE(second.PreviousInstance());
    }
    first.reset();
    TKitApplication third;
    EXPECT_FALSE(third.PreviousInstance());

    EXPECT_EQ(third.FileMask, "#tdl");
    EXPECT_EQ(third.OptionSet, 0x36);
    EXPECT_EQ(third.EditMode, 1);
    EXPECT_EQ(third.EffectDelay, 3);
    EXPECT_EQ(third.LastColor, 0x1FFFFFFFu);
    EXPECT_EQ(third.LogMaxSize, -1);
    EXPECT_EQ(third.PerfFrequency, 1000000000);
    EXPECT_GT(third.CheckWidth, 0);
    EXPECT_GT(third.CheckHeight, 0);
    EXPECT_FALSE(third.UseThemes());
    third.SetUseThemes(true);
    EXPECT_FALSE(third.UseThemes());
    ASSERT_NE(third.TimerPool(), nullptr);
    EXPECT_EQ(third.TimerPool()->MinInterval(), 50);
    ASSERT_NE(third.SettingsControl(), nullptr);
}

TEST_F(KitRuntime, LogNameTakesExtensionAndPrefix) {
    TKitApplication app;
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_EQ(app.LogName(), program + ".LOG");
    app.SetLogName("/elsewhere/run");
    EXPECT_EQ(app.LogName(), QCoreApplication::applicationDirPath() + "/run.LOG");
    app.LogPrefix = ppFixed;
    app.SetLogName("rel/run.txt");
    EXPECT_EQ(app.LogName(), "rel/run.txt");
    app.LogPrefix = ppSystem;
    app.SetLogName("x.log");
    EXPECT_EQ(app.LogName(), "/usr/lib/x.log");
}

TEST_F(KitRuntime, GlobalTimersUseSlotsUntilNoneIsLeft) {
    TKitApplication app;
    int ticks = 0;
    std::vector<uint16_t> ids;
    for (int n = 1; n <= 250; ++n) {
        const uint16_t id = app.AddGlobalTimer(50, [&](QObject*) { ++ticks; });
        ASSERT_EQ(id, 0xFD00 + n);
        ids.push_back(id);
    }
    EXPECT_EQ(app.AddGlobalTimer(50, nullptr), 0);
    EXPECT_THROW(TKitTimer(100, true, true, nullptr, &app), EKitError);
    app.RemoveGlobalTimer(0xFD05);
    EXPECT_EQ(app.TimerItem(0xFD05), nullptr);
    EXPECT_EQ(app.AddGlobalTimer(50, nullptr), 0xFD05);
    // A refused interval frees its slot again.
    app.RemoveGlobalTimer(0xFD07);
    EXPECT_EQ(app.AddGlobalTimer(30, nullptr), 0);
    EXPECT_EQ(app.AddGlobalTimer(50, nullptr), 0xFD07);
    app.TimerPool()->Tick();
    EXPECT_EQ(ticks, 248);
}

TEST_F(KitRuntime, KitTimerGlobalAndWindowKinds) {
    TKitApplication app;
    int fired = 0;
    QObject* sender = nullptr;
    {
        TKitTimer one(1, true, true, [&](QObject* s) { ++fired, sender = s; }, &app);
        TKitTimer slow(120, true, true, nullptr, &app);
        ASSERT_EQ(one.Identifier(), 0xFD01);
        EXPECT_EQ(app.TimerItem(one.Identifier())->Interval(), 50);
        EXPECT_EQ(app.TimerItem(slow.Identifier())->Interval(), 150);
        app.TimerPool()->Tick();
        EXPECT_EQ(fired, 1);
        EXPECT_EQ(sender, &one);
        one.SetEnabled(false);
        EXPECT_FALSE(app.TimerItem(one.Identifier())->Enabled());
        slow.SetInterval(260);
        EXPECT_EQ(app.TimerItem(slow.Identifier())->Interval(), 300);
    }
    EXPECT_EQ(app.TimerPool()->Count(), 0);
    EXPECT_EQ(app.AddGlobalTimer(50, nullptr), 0xFD01);

    TKitTimer window(40, false, false, nullptr, &app);
    ASSERT_NE(window.WindowTimer(), nullptr);
    EXPECT_FALSE(window.WindowTimer()->isActive());
    window.SetEnabled(true);
    EXPECT_TRUE(window.WindowTimer()->isActive());
    EXPECT_EQ(window.WindowTimer()->interval(), 40);
    window.Stop();
    EXPECT_EQ(window.WindowTimer(), nullptr);
}

TEST_F(KitRuntime, AKitTimerHandlerMayFreeItsTimer) {
    TKitApplication app;
    for (const bool global : {true, false}) {
        int fired = 0;
        std::unique_ptr<TKitTimer> timer;
        timer = std::make_unique<TKitTimer>(
            1, global, true,
            [&timer, &fired](QObject*) {
                timer.reset();
                ++fired; // the closure is still read after its timer is gone
            },
            &app);
        if (global)
            app.TimerPool()->Tick();
        else
            EXPECT_TRUE(QTest::qWaitFor([&] { return fired > 0; }, 5000));
        EXPECT_EQ(fired, 1) << global;
        EXPECT_EQ(timer, nullptr);
    }
    EXPECT_EQ(app.TimerPool()->Count(), 0);
}

TEST(KitTimer, AWindowTimerOfIntervalZeroDoesNotRun) {
    int fired = 0;
    TKitTimer timer(0, false, true, [&](QObject*) { ++fired; });
    ASSERT_NE(timer.WindowTimer(), nullptr);
    EXPECT_FALSE(timer.WindowTimer()->isActive());
    for (int pass = 0; pass < 20; ++pass) QCoreApplication::processEvents();
    EXPECT_EQ(fired, 0);
    timer.SetInterval(30);
    EXPECT_TRUE(timer.WindowTimer()->isActive());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.WindowTimer()->isActive());
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.WindowTimer()->isActive());
    for (int pass = 0; pass < 20; ++pass) QCoreApplication::processEvents();
    EXPECT_EQ(fired, 0);
}

TEST(KitIniCtrl, SetterRules) {
    TKitIniCtrl ini;
    EXPECT_EQ(ini.EncKey, 23917);
    EXPECT_EQ(ini.CryptMode, icmKey);
    EXPECT_EQ(ini.Target(), itAuto);
    EXPECT_EQ(ini.EffectiveTarget(), itRegistry);
    EXPECT_EQ(ini.MaxEntries(), 16);

    ini.SetMaxEntries(30);
    ini.SetAlphaCounter(true);
    EXPECT_EQ(ini.MaxEntries(), 26);
    ini.SetMaxEntries(30);
    EXPECT_EQ(ini.MaxEntries(), 26);
    ini.SetMaxEntries(20);
    EXPECT_EQ(ini.MaxEntries(), 20);

    ini.SetNetUser(true);
    EXPECT_FALSE(ini.User.isEmpty());

    ini.IniPrefix = ppFixed;
    EXPECT_EQ(ini.FullIniName(), QCoreApplication::applicationFilePath() + ".INI");
    ini.SetIniFile("conf/game");
    EXPECT_EQ(ini.IniFile(), "conf/game.INI");
    EXPECT_EQ(ini.FullIniName(), "conf/game.INI");
    ini.IniPrefix = ppProgram;
    EXPECT_EQ(ini.FullIniName(), QCoreApplication::applicationDirPath() + "/game.INI");

    EXPECT_EQ(ini.MemIniFile(), nullptr);
    ini.SetTarget(itMemIniFile);
    ASSERT_NE(ini.MemIniFile(), nullptr);
    EXPECT_EQ(ini.MemIniFile()->FileName, QCoreApplication::applicationDirPath() + "/game.INI");
    ini.SetIniFile("other.ini");
    EXPECT_EQ(ini.MemIniFile()->FileName, "other.ini");
    ini.SetTarget(itIniFile);
    EXPECT_EQ(ini.MemIniFile(), nullptr);
    EXPECT_EQ(ini.EffectiveTarget(), itIniFile);
}

TEST(KitIniCtrl, EncodeDecodeByMode) {
    TKitIniCtrl ini;
    const QByteArray value("secret\0value", 12);
    for (TKitIniCryptMode mode : {icmKey, icmTextKey}) {
        ini.CryptMode = mode;
        const QByteArray stored = ini.Encode(value);
        EXPECT_NE(stored, value);
        EXPECT_EQ(ini.Decode(stored), value);
    }
    EXPECT_TRUE(ini.Encode(value).startsWith("12:"));
    EXPECT_TRUE(ini.Decode("not encoded").isEmpty());
    ini.CryptMode = icmCustom;
    EXPECT_EQ(ini.Encode(value), value);
    ini.OnEncodeString = [](QObject*, QByteArray& text) { text.prepend('['); };
    ini.OnDecodeString = [](QObject*, QByteArray& text) { text.remove(0, 1); };
    EXPECT_EQ(ini.Encode("x"), "[x");
    EXPECT_EQ(ini.Decode("[x"), "x");
}

TEST(KitSysUtils, FoldersAndPrefixes) {
    EXPECT_EQ(PathPrefix(ppFixed, true), "");
    EXPECT_EQ(PathPrefix(ppSystem, true), "/usr/lib/");
    EXPECT_EQ(PathPrefix(ppSystem, false), "/usr/lib");
    EXPECT_EQ(PathPrefix(ppProgram, true), QCoreApplication::applicationDirPath() + "/");
    EXPECT_EQ(KitProgramFolder(), PathPrefix(ppProgram, true));
    EXPECT_TRUE(PathPrefix(ppOsFolder, true).endsWith('/'));
    EXPECT_EQ(WithTrailingSlash(QString()), "/");
    EXPECT_EQ(WithoutTrailingSlash("/"), "/");
    EXPECT_EQ(VersionField(7), 0u);
    EXPECT_GE(ColorDepth(), 0);
    EXPECT_FALSE(UserName().isEmpty());
}

TEST(KitThemeManager, WithoutOwnerNeverHooks) {
    TKitThemeManager watcher;
    watcher.Loaded();
    EXPECT_FALSE(watcher.IsHooked());
}

TEST_F(KitRuntime, StartupMakesTheObjectsAndShutdownFreesThem) {
    KitStartup();
    ASSERT_NE(KitApplication, nullptr);
    ASSERT_NE(KitThemeManager, nullptr);
    TKitApplication* first = KitApplication;
    KitStartup();
    EXPECT_EQ(KitApplication, first);
    EXPECT_EQ(KitVersionFlags, 0u);
    EXPECT_EQ(KitApplication->parent(), QCoreApplication::instance());
    ASSERT_NE(KitGlobalContainer, nullptr);
    EXPECT_NE(KitGlobalContainer->WaveList(), nullptr);
    EXPECT_EQ(KitControlStates.size(), 8u);
    EXPECT_TRUE(KitSettingClasses.count("TKitCtlSettings"));
    // A global kit timer without an explicit application uses the start-up object.
    {
        TKitTimer timer(100, true, true, nullptr);
        EXPECT_EQ(KitApplication->TimerPool()->Count(), 1);
    }
    KitShutdown();
    EXPECT_EQ(KitApplication, nullptr);
    EXPECT_EQ(KitThemeManager, nullptr);
    EXPECT_EQ(KitGlobalContainer, nullptr);
    EXPECT_TRUE(KitControlStates.empty());
    KitShutdown();
    EXPECT_THROW(TKitTimer(100, true, true, nullptr), EKitError);
}

} // namespace
} // namespace quorlet
