#include "kit/KitClass.h"

#include <QApplication>
#include <QByteArray>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/FData.h"
#include "core/debuglog.h"
#include "kit/engine/kiterror.h"

namespace quorlet {

namespace {

// Counters restart at 0 where they would turn negative.
int32_t NextCount(int32_t value) {
    return value == INT32_MAX ? 0 : value + 1;
}

// The instance lock: an exclusive flock on a file named after the program in the runtime
// folder. The lock dies with the process, so a crash leaves nothing stale behind.
int TakeInstanceLock(bool& refused) {
    refused = false;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) return -1;
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUpper();
    const QByteArray path = (folder + QLatin1Char('/') + name).toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) refused = true;
    return fd;
}

} // namespace

// ---- Timer items --------------------------------------------------------------------------

TKitTimerItem::TKitTimerItem(TKitTimerPool* pool, uint16_t identifier, TKitTimerList* list)
    : pool_(pool), identifier_(identifier) {
    if (!pool || !list)
        throw EKitError("TKitTimerItem: Invalid Owner or List", TKitErrorKind::InvalidOperation);
    stepCount_ = static_cast<uint16_t>(std::max(1, interval_ / pool->MinInterval()));
}

TKitTimerItem::~TKitTimerItem() {
    enabled_ = false;
    OnTimer = nullptr;
}

void TKitTimerItem::SetEnabled(bool value) {
    if (value == enabled_) return;
    if (value && !pool_) return;
    enabled_ = value;
    counter_ = 0;
}

void TKitTimerItem::SetInterval(uint16_t value) {
    if (value == interval_) return;
    const uint16_t minInterval = pool_->MinInterval();
    if (value % minInterval != 0) return;
    if (value == 0) value = minInterval;
    interval_ = value;
    stepCount_ = static_cast<uint16_t>(interval_ / minInterval);
    counter_ = 0;
}

void TKitTimerItem::Fire() {
    if (!enabled_) return;
    counter_ = NextCount(counter_);
    if (counter_ == CallCount) enabled_ = false;
    // A handler may remove this item (and so its own closure): call copies, touch nothing after.
    if (const TNotifyEvent handler = OnTimer)
        handler(pool_);
    else if (const TKitTimerPool::TPoolEvent poolHandler = pool_->OnTimer)
        poolHandler(pool_, identifier_, counter_);
}

// ---- Timer pool ---------------------------------------------------------------------------

TKitTimerPool::TKitTimerPool(QObject* owner, uint16_t minInterval)
    : TKitCustomComponent(owner), minInterval_(minInterval == 0 ? 1000 : minInterval) {}

TKitTimerPool::~TKitTimerPool() {
    ClearTimers();
}

void TKitTimerPool::SetMinInterval(uint16_t value) {
    if (loading_ && value != 0) minInterval_ = value;
}

int TKitTimerPool::AddTimer(uint16_t identifier, uint16_t interval, TNotifyEvent handler) {
    if (Item(identifier)) {
        char message[48];
        std::snprintf(message, sizeof message, "List index out of bounds (%d)", identifier);
        throw EKitError(message);
    }
    if (interval < minInterval_ || interval % minInterval_ != 0)
        throw EKitError("Interval not compatible with MinInterval property!");
    auto item = std::make_unique<TKitTimerItem>(this, identifier, &items_);
    item->serial_ = nextSerial_++;
    item->SetInterval(interval);
    item->OnTimer = std::move(handler);
    items_.push_back(std::move(item));
    UpdateMainTimer(true);
    return static_cast<int>(items_.size()) - 1;
}

void TKitTimerPool::RemoveTimer(uint16_t identifier) {
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [&](const auto& item) { return item->identifier_ == identifier; });
    if (it == items_.end()) return;
    const bool wasUpdating = updating_;
    updating_ = true;
    (*it)->SetEnabled(false);
    (*it)->OnTimer = nullptr;
    items_.erase(it);
    updating_ = wasUpdating;
    if (items_.empty()) UpdateMainTimer(false);
}

void TKitTimerPool::ClearTimers() {
    UpdateMainTimer(false);
    while (!items_.empty()) items_.pop_back();
}

int TKitTimerPool::ActiveTimers() const {
    return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const auto& i) { return i->Enabled(); }));
}

TKitTimerItem* TKitTimerPool::Item(uint16_t identifier) const {
    for (const auto& item : items_)
        if (item->identifier_ == identifier) return item.get();
    return nullptr;
}

void TKitTimerPool::UpdateMainTimer(bool on) {
    if (on && !timer_) {
        timer_ = std::make_unique<QTimer>();
        timer_->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer_.get(), &QTimer::timeout, this, &TKitTimerPool::Tick);
    }
    active_ = false;
    if (timer_) timer_->stop();
    if (on && ActiveTimers() > 0) {
        timer_->start(minInterval_);
        if (!timer_->isActive()) throw EKitError("Not enough timers available", TKitErrorKind::OutOfResources);
        poolCounter_ = 1;
        active_ = true;
    }
}

void TKitTimerPool::Tick() {
    if (busy_) return;
    busy_ = true;
    try {
        HandleTimers();
    } catch (const std::exception& e) {
        DebugLog(std::string("# ") + e.what());
    } catch (...) {
        DebugLog("# timer pool: unknown error");
    }
    busy_ = false;
}

void TKitTimerPool::HandleTimers() {
    if (updating_) return;
    // Handlers may add or remove items: walk a snapshot and fire only items still listed.
    std::vector<uint64_t> round;
    round.reserve(items_.size());
    for (const auto& item : items_) round.push_back(item->serial_);
    for (const uint64_t serial : round) {
        const auto it = std::find_if(items_.begin(), items_.end(),
                                     [&](const auto& item) { return item->serial_ == serial; });
        if (it == items_.end()) continue;
        TKitTimerItem* item = it->get();
        if (item->Enabled() && poolCounter_ % item->StepCount() == 0) item->Fire();
    }
    poolCounter_ = NextCount(poolCounter_);
}

// ---- Application object ------------------------------------------------------------------

TKitApplication::TKitApplication(QObject* owner) : QObject(owner) {
    SetLogName(QString());
    mutexFd_ = TakeInstanceLock(previousInstance_);
    timerPool_ = std::make_unique<TKitTimerPool>(nullptr, 50);
    EditMode = 1;
    settingsControl_ = std::make_unique<TKitIniCtrl>();
    PerfFrequency = std::chrono::steady_clock::period::den / std::chrono::steady_clock::period::num;
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QStyle* style = QApplication::style();
        CheckWidth = style->pixelMetric(QStyle::PM_IndicatorWidth);
        CheckHeight = style->pixelMetric(QStyle::PM_IndicatorHeight);
    }
}

TKitApplication::~TKitApplication() {
    settingsControl_.reset();
    timerPool_.reset();
    if (mutexFd_ >= 0) ::close(mutexFd_);
}

void TKitApplication::SetLogName(const QString& value) {
    const QString name =
        value.isEmpty() ? ProgramPathWithExtension(QStringLiteral(".LOG")) : WithDefaultExtension(value, QStringLiteral(".LOG"));
    logName_ = PrefixedFileName(LogPrefix, name);
}

void TKitApplication::SetUseThemes(bool value) {
    if (value && !ThemesActive()) return;
    useThemes_ = value;
}

uint16_t TKitApplication::AddGlobalTimer(uint16_t interval, TNotifyEvent handler) {
    const auto slot = std::find(timerSlots_.begin(), timerSlots_.end(), uint8_t{0});
    if (slot == timerSlots_.end()) return 0;
    const int n = static_cast<int>(slot - timerSlots_.begin()) + 1;
    const auto identifier = static_cast<uint16_t>(kGlobalTimerBase + n);
    try {
        timerPool_->AddTimer(identifier, interval, std::move(handler));
    } catch (const EKitError&) {
        return 0;
    }
    *slot = 1;
    return identifier;
}

void TKitApplication::RemoveGlobalTimer(uint16_t identifier) {
    if (identifier <= kGlobalTimerBase || identifier > kGlobalTimerBase + kGlobalTimerSlots) return;
    timerPool_->RemoveTimer(identifier);
    timerSlots_[identifier - kGlobalTimerBase - 1] = 0;
}

TKitTimerItem* TKitApplication::TimerItem(uint16_t identifier) const {
    return timerPool_->Item(identifier);
}

// ---- Kit timer ----------------------------------------------------------------------------

TKitTimer::TKitTimer(uint16_t interval, bool global, bool enabled, TNotifyEvent handler,
                     TKitApplication* application)
    : OnTimer(std::move(handler)), application_(application), global_(global), enabled_(enabled),
      interval_(interval) {
    Start();
}

TKitTimer::~TKitTimer() {
    Stop();
}

TKitApplication* TKitTimer::Application() const {
    return application_ ? application_ : KitApplication;
}

uint16_t TKitTimer::GlobalInterval(uint16_t interval) {
    const uint32_t rounded = (interval + 49u) / 50u * 50u;
    return static_cast<uint16_t>(std::min<uint32_t>(rounded, 65500u));
}

void TKitTimer::Start() {
    Stop();
    if (global_) {
        TKitApplication* app = Application();
        if (app) identifier_ = app->AddGlobalTimer(GlobalInterval(interval_), [this](QObject*) { Fire(); });
        if (identifier_ == 0) throw EKitError("Not enough timers available", TKitErrorKind::OutOfResources);
        app->TimerItem(identifier_)->SetEnabled(enabled_);
    } else {
        windowTimer_ = std::make_unique<QTimer>();
        windowTimer_->setInterval(interval_);
        QObject::connect(windowTimer_.get(), &QTimer::timeout, this, &TKitTimer::Fire);
        UpdateWindowTimer();
    }
}

void TKitTimer::Stop() {
    if (global_ && identifier_ != 0) {
        if (TKitApplication* app = Application()) {
            if (TKitTimerItem* item = app->TimerItem(identifier_)) {
                item->SetEnabled(false);
                item->OnTimer = nullptr;
            }
            app->RemoveGlobalTimer(identifier_);
        }
        identifier_ = 0;
    } else if (windowTimer_) {
        windowTimer_->stop();
        windowTimer_.reset();
    }
}

void TKitTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (global_) {
        TKitApplication* app = Application();
        if (TKitTimerItem* item = app ? app->TimerItem(identifier_) : nullptr) item->SetEnabled(value);
    } else {
        UpdateWindowTimer();
    }
}

void TKitTimer::SetInterval(uint16_t value) {
    if (value == interval_) return;
    interval_ = value;
    if (global_) {
        TKitApplication* app = Application();
        if (TKitTimerItem* item = app ? app->TimerItem(identifier_) : nullptr) item->SetInterval(GlobalInterval(value));
    } else if (windowTimer_) {
        windowTimer_->setInterval(value);
        UpdateWindowTimer();
    }
}

// Interval 0 stops the window timer, as the framework's own timer does; a QTimer would
// fire at every pass of the event loop instead.
void TKitTimer::UpdateWindowTimer() {
    if (!windowTimer_) return;
    if (enabled_ && interval_ != 0)
        windowTimer_->start();
    else
        windowTimer_->stop();
}

void TKitTimer::Fire() {
    // The handler may free this timer: call a copy.
    if (const TNotifyEvent handler = OnTimer) handler(this);
}

} // namespace quorlet
