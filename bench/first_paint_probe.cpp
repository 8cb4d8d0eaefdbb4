// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a Qt program (LD_PRELOAD) by the start-up benchmark: when
// VORLO_EXIT_AFTER_FIRST_PAINT is set, the program prints its resident memory
// and ends as soon as its main window has been painted for the first time.
// The program itself is not changed: the same probe measures the real window
// and the bare one that serves as its baseline.

#include <unistd.h>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace {

long StatusKilobytes(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) {
        return -1;
    }
    char line[256];
    long value = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, f) != nullptr) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::atol(line + length + 1);
            break;
        }
    }
    std::fclose(f);
    return value;
}

// Posted when the main window is first painted, at a priority above every
// event already waiting: it is delivered as soon as the paint in progress is
// over and flushed, before anything the program itself posted to run after
// its first paint.
class ExitEvent : public QEvent {
public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    ExitEvent() : QEvent(Kind()) {}
};

class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && qobject_cast<QMainWindow*>(widget->window()) != nullptr) {
                seen_ = true;
                QCoreApplication::postEvent(this, new ExitEvent, Qt::HighEventPriority + 1);
            }
        }
        return false;
    }

    bool event(QEvent* event) override {
        if (event->type() == ExitEvent::Kind()) {
            std::printf("first_paint vm_rss_kb=%ld vm_hwm_kb=%ld\n", StatusKilobytes("VmRSS"),
                        StatusKilobytes("VmHWM"));
            std::fflush(stdout);
            ::_exit(0);
        }
        return QObject::event(event);
    }

private:
    bool seen_ = false;
};

void InstallProbe() {
    if (qEnvironmentVariableIsSet("VORLO_EXIT_AFTER_FIRST_PAINT")) {
        QCoreApplication::instance()->installEventFilter(new FirstPaintProbe);
    }
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
