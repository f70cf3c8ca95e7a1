// Sleep and wake from systemd-logind's PrepareForSleep signal (GDBus). Every
// wait on the system bus is bounded: a bus that takes the connection and then
// says nothing must not keep the window from opening.
#include <gio/gio.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "EngDebug.h"
#include "EngPower.h"
#include "EngProgram.h"

namespace
{
// The whole registration (connection, authentication, Hello, match rule).
const int EPE_BUS_TIMEOUT_MS = 2000;

using Clock = std::chrono::steady_clock;

char registered = 0;
char system_sleeping = 0;
GDBusConnection* bus = nullptr;
guint subscription = 0;

const char* const LOGIND_NAME = "org.freedesktop.login1";
const char* const LOGIND_MANAGER = "org.freedesktop.login1.Manager";
const char* const LOGIND_PATH = "/org/freedesktop/login1";

void OnPrepareForSleep(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                       GVariant* parameters, gpointer)
{
    gboolean start = FALSE;
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(b)")))
        return;
    g_variant_get(parameters, "(b)", &start);
    EngPowerEventsCB_LNX(start ? ENG_POWER_SYSTEM_WILL_SLEEP : ENG_POWER_SYSTEM_HAS_POWERED_ON);
}

// The bus passes on the manager's broadcasts only (the match rule names it as
// sender); a PrepareForSleep addressed to this program alone could come from
// anyone. Runs on GDBus's own thread.
GDBusMessage* DropDirectedSleepSignals(GDBusConnection*, GDBusMessage* message, gboolean incoming, gpointer)
{
    if (incoming && g_dbus_message_get_message_type(message) == G_DBUS_MESSAGE_TYPE_SIGNAL &&
        g_dbus_message_get_destination(message) &&
        g_strcmp0(g_dbus_message_get_member(message), "PrepareForSleep") == 0 &&
        g_strcmp0(g_dbus_message_get_interface(message), LOGIND_MANAGER) == 0)
    {
        g_object_unref(message);
        return nullptr;
    }
    return message;
}

int MsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 1 ? int(left) : 1;
}

// Connects and authenticates, cancelled at the deadline. A message-bus
// connection of GDBus would also say Hello, with no way to cancel it and a
// 25 s timeout: the caller says Hello itself.
GDBusConnection* Connect(const gchar* address, Clock::time_point deadline, GError** error)
{
    GCancellable* cancellable = g_cancellable_new();
    std::mutex mutex;
    std::condition_variable done_cv;
    bool done = false;
    std::thread watchdog(
        [&]
        {
            std::unique_lock<std::mutex> lock(mutex);
            if (!done_cv.wait_until(lock, deadline, [&] { return done; }))
                g_cancellable_cancel(cancellable);
        });
    GDBusConnection* c = g_dbus_connection_new_for_address_sync(
        address, G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT, nullptr, cancellable, error);
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    done_cv.notify_one();
    watchdog.join();
    g_object_unref(cancellable);
    return c;
}

// A call to the bus itself, waiting no longer than the deadline.
char CallBus(GDBusConnection* c, const char* method, GVariant* args, const GVariantType* reply,
             Clock::time_point deadline, GError** error)
{
    GVariant* r = g_dbus_connection_call_sync(c, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                              "org.freedesktop.DBus", method, args, reply,
                                              G_DBUS_CALL_FLAGS_NONE, MsLeft(deadline), nullptr, error);
    if (!r)
        return 0;
    g_variant_unref(r);
    return 1;
}

// Whether the bus let the deadline pass rather than answer.
bool Unanswered(const GError* error, Clock::time_point deadline)
{
    return Clock::now() >= deadline || (error && (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED) ||
                                                  g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)));
}

// Why the bus could not be used: its own words, or that it did not answer in time.
std::string Reason(const GError* error, Clock::time_point deadline)
{
    if (Unanswered(error, deadline))
        return "no answer within " + std::to_string(EPE_BUS_TIMEOUT_MS / 1000) + " s";
    return error ? error->message : "unknown reason";
}

// Closes without waiting: a bus that does not read must not hold up the close.
void Drop(GDBusConnection* c)
{
    g_dbus_connection_close(c, nullptr, nullptr, nullptr);
    g_object_unref(c);
}
} // namespace

char EngPowerEventsRegisterForNotifications_LNX()
{
    if (registered)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Already registered.");
        return 0;
    }
    // Many machines (containers, some desktops) run no system bus: the game
    // runs fine without sleep and wake notices, so this is no error.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(EPE_BUS_TIMEOUT_MS);
    GError* error = nullptr;
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
    // A connection of its own, not the process's shared one, which ends the
    // process when the bus goes away.
    GDBusConnection* c = address ? Connect(address, deadline, &error) : nullptr;
    g_free(address);
    if (c && !CallBus(c, "Hello", nullptr, G_VARIANT_TYPE("(s)"), deadline, &error))
    {
        Drop(c);
        c = nullptr;
    }
    if (!c)
    {
        DebugInfo("Sleep and wake are not followed: no system bus for logind (%s)",
                  Reason(error, deadline).c_str());
        g_clear_error(&error);
        return 0;
    }
    g_dbus_connection_add_filter(c, DropDirectedSleepSignals, nullptr, nullptr);
    // Delivered on the main thread, by the main loop's EngPowerEventsPoll_LNX.
    guint id = g_dbus_connection_signal_subscribe(c, nullptr, LOGIND_MANAGER, "PrepareForSleep", LOGIND_PATH,
                                                  nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnPrepareForSleep,
                                                  nullptr, nullptr);
    gchar* rule =
        g_strdup_printf("type='signal',sender='%s',interface='%s',member='PrepareForSleep',path='%s'",
                        LOGIND_NAME, LOGIND_MANAGER, LOGIND_PATH);
    const char added = id && CallBus(c, "AddMatch", g_variant_new("(s)", rule), nullptr, deadline, &error);
    g_free(rule);
    if (!added)
    {
        if (!id || !Unanswered(error, deadline))
            DebugInfo(
                "Sleep and wake are not followed: logind's signal could not be subscribed on the system bus");
        else
            DebugInfo("Sleep and wake are not followed: no system bus for logind (%s)",
                      Reason(error, deadline).c_str());
        g_clear_error(&error);
        if (id)
            g_dbus_connection_signal_unsubscribe(c, id);
        Drop(c);
        return 0;
    }
    bus = c;
    subscription = id;
    registered = 1;
    return 1;
}

void EngPowerEventsDeregisterNotifications_LNX()
{
    if (!registered)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not registered.");
        return;
    }
    if (bus)
    {
        if (subscription)
            g_dbus_connection_signal_unsubscribe(bus, subscription);
        Drop(bus);
    }
    bus = nullptr;
    subscription = 0;
    registered = 0;
}

char EngPowerEventsAreRegistered_LNX()
{
    return registered;
}

void EngPowerEventsSetRegisteredForTests(char on)
{
    registered = on;
    system_sleeping = 0;
}

void EngPowerEventsPoll_LNX()
{
    if (bus)
        g_main_context_iteration(nullptr, FALSE);
}

void EngPowerEventsCB_LNX(_EngPowerMessage message)
{
    if (!registered)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not registered for notifications!");
        return;
    }
    switch (message)
    {
    case ENG_POWER_SYSTEM_WILL_SLEEP:
        if (system_sleeping)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "System already sleeping.");
            return;
        }
        system_sleeping = 1;
        if (eng_main_program)
            eng_main_program->ComputerSleeping(1);
        break;
    case ENG_POWER_SYSTEM_HAS_POWERED_ON:
        if (!system_sleeping)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "System is not sleeping.");
            return;
        }
        system_sleeping = 0;
        if (eng_main_program)
            eng_main_program->ComputerSleeping(0);
        break;
    default:
        break;
    }
}
