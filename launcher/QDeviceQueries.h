// The launcher's users of the co-processor's queries: the battery state into the gauge, the
// co-processor's clock into the device's local time, and its product code into the registry.
// Each leaves things as they were when its query fails.
#pragma once

#include "widgets/QBatteryGauge.h"

class QDeviceQueries {
public:
    // The warning, level and charging flags of the battery reply, in that order, into the gauge;
    // redraw repaints it with the last of them.
    static void UpdateBattery(QBatteryGauge& gauge, bool redraw);
    // Sets the device's local time from the clock reply. A date that cannot exist leaves the
    // clock untouched.
    static void SyncCurrentTime();
    // Writes HKLM\HARDWARE "Product" from the identity reply's product code when it is missing.
    static void RecordProductType();
};
