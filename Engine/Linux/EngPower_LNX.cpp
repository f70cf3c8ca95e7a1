// Sleep and wake from systemd-logind's PrepareForSleep signal (GDBus).
#include <gio/gio.h>

#include "EngDebug.h"
#include "EngPower.h"
#include "EngProgram.h"

namespace
{
char registered = 0;
char system_sleeping = 0;
GDBusConnection* bus = nullptr;
guint subscription = 0;

void OnPrepareForSleep(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                       GVariant* parameters, gpointer)
{
    gboolean start = FALSE;
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(b)")))
        return;
    g_variant_get(parameters, "(b)", &start);
    EngPowerEventsCB_LNX(start ? ENG_POWER_SYSTEM_WILL_SLEEP : ENG_POWER_SYSTEM_HAS_POWERED_ON);
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
    GError* error = nullptr;
    bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
    if (!bus)
    {
        DebugInfo("Sleep and wake are not followed: no system bus for logind (%s)",
                  error ? error->message : "unknown reason");
        if (error)
            g_error_free(error);
        return 0;
    }
    subscription = g_dbus_connection_signal_subscribe(
        bus, "org.freedesktop.login1", "org.freedesktop.login1.Manager", "PrepareForSleep",
        "/org/freedesktop/login1", nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnPrepareForSleep, nullptr, nullptr);
    if (!subscription)
    {
        g_object_unref(bus);
        bus = nullptr;
        DebugInfo("Sleep and wake are not followed: logind's signal could not be subscribed on the system bus");
        return 0;
    }
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
        g_object_unref(bus);
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
