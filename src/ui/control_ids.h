#pragma once
// The program's icon, shared by the window kit and the resource script. Plain
// #defines so windres can read them too. The controls' ids live beside their
// windows: app/main_ids.h, i18n/language_ids.h, power/power_ids.h,
// scheduler/scheduler_ids.h, online/online_ids.h.

#define IDI_ZELVAR 100
