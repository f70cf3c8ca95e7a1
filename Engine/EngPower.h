// Sleep and wake notifications of the computer.
#pragma once

enum _EngPowerMessage
{
    ENG_POWER_CAN_SYSTEM_SLEEP = 0,
    ENG_POWER_SYSTEM_WILL_SLEEP = 1,
    ENG_POWER_SYSTEM_HAS_POWERED_ON = 2,
};

// Subscribes to the login manager's sleep signal on the system bus.
char EngPowerEventsRegisterForNotifications_LNX();
void EngPowerEventsDeregisterNotifications_LNX();
char EngPowerEventsAreRegistered_LNX();
// Handles one power message (the bus signal is turned into these).
void EngPowerEventsCB_LNX(_EngPowerMessage message);
// Delivers pending bus messages on the calling (main) thread; never blocks.
void EngPowerEventsPoll_LNX();
// Test seam: marks the registration without a bus.
void EngPowerEventsSetRegisteredForTests(char on);
